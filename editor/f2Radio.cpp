// TForm2's radio commands after the program's own Edit items; what they do
// is RadioCommands'.
#include "f2.h"

#include "Guarded.h"
#include "RadioCommands.h"

void TForm2::verifyClick()
{
    zk::guarded(messages_, [this] { radioCommands_->verify(); });
}

void TForm2::backupClick()
{
    zk::guarded(messages_, [this] { radioCommands_->backup(); });
}

void TForm2::restoreClick()
{
    zk::guarded(messages_, [this] { radioCommands_->restore(); });
}
