// The "Connection Check" window: the same report as 'zk-h41-cli doctor', in
// a read-only text the user can select and copy, with a button that copies
// it all. Not modal; made again for every check.
#pragma once

#include <QWidget>

class QPlainTextEdit;

namespace zk {

class ConnectionCheckWindow : public QWidget {
    Q_OBJECT
public:
    ConnectionCheckWindow(const QString& report, QWidget* parent = nullptr);

private:
    QPlainTextEdit* text_ = nullptr;
};

} // namespace zk
