// TForm2's clipboard commands; what they do is GridClipboard's.
#include "f2.h"

#include "GridClipboard.h"
#include "Guarded.h"

void TForm2::copyClick()
{
    zk::guarded(messages_, [this] { clipboard_->copy(); });
}

void TForm2::cutClick()
{
    zk::guarded(messages_, [this] { clipboard_->cut(); });
}

void TForm2::pasteClick()
{
    zk::guarded(messages_, [this] { clipboard_->paste(); });
}

void TForm2::deleteClick()
{
    zk::guarded(messages_, [this] { clipboard_->erase(); });
}
