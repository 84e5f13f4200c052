#pragma once
// TForm5: copies the radio's channels and settings into the channel table.
#include "TransferDialog.h"

class TForm5 : public TransferDialog {
    Q_OBJECT
public:
    TForm5(zk::TransferEngine& engine, zk::UserMessages& messages, QWidget* parent = nullptr);

    void Button1Click();
};
