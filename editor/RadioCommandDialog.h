#pragma once
// Where a radio command of the window (Verify, Backup Radio, Restore Radio)
// shows that it runs: a small modeless dialog titled with the command, the
// step and its block count in words, and a progress bar of five blocks, as
// the read and write dialogs show theirs. It closes when the command ends.
#include <QDialog>

#include <string>

class QLabel;
class QProgressBar;

namespace zk {

class RadioCommandDialog : public QDialog {
    Q_OBJECT
public:
    explicit RadioCommandDialog(QWidget* parent = nullptr);

    // Shows the dialog for the command, its bar at 0.
    void begin(const QString& command);
    // "Restore: block 2/5" in words, the bar at blocksDone.
    void progress(const std::string& text, int blocksDone);
    void end();

private:
    QLabel* step_;
    QProgressBar* bar_;
};

} // namespace zk
