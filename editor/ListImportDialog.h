#pragma once
// The import dialog: every row of a channel list with a check box, a band
// choice with the rows each band holds, the reason beside each row that
// cannot be a channel, and a counter of the channels ticked. The choosing
// is the files library's; this only shows it and collects the ticks.
#include "ChannelList.h"
#include "ListFit.h"

#include <QDialog>

#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace zk {

class ListImportDialog : public QDialog {
    Q_OBJECT

public:
    // source names the list in messages; note, when not empty, is shown
    // above the rows (where a stock list may be used, its power limit).
    ListImportDialog(ChannelList list, std::string source, const QString& title, const QString& note,
                     QWidget* parent = nullptr);

    int band() const;
    // The lines of the ticked rows, in the file's order.
    std::vector<int> tickedLines() const;
    // The plan of the ticked rows in the chosen band; an AppError when it
    // cannot be made (Import is disabled then).
    ListImport result() const;

    // Column of the check box and the line number; of the reason.
    static constexpr int kLineColumn = 0;
    static constexpr int kReasonColumn = 8;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fillRows();
    void chooseBand(int band);
    void countTicks();

    ChannelList list_;
    std::string source_;
    QComboBox* bands_;
    QTableWidget* rows_;
    QLabel* counter_;
    QPushButton* import_;
};

} // namespace zk
