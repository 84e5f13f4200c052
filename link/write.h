#pragma once
// TForm6: copies the channel table's channels and settings into the radio.
#include "TransferDialog.h"

class TForm6 : public TransferDialog {
    Q_OBJECT
public:
    TForm6(zk::TransferEngine& engine, zk::UserMessages& messages, QWidget* parent = nullptr);

    void Button1Click();
};
