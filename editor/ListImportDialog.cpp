// The import dialog's widgets over the files library's row choice.
#include "ListImportDialog.h"

#include "ImportWords.h"
#include "ScreenFit.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

namespace zk {

namespace {

const char* const kHeaders[] = {"Line", "Name", "RX Frequency", "TX Frequency", "Decode", "Encode",
                                "TX Power", "Bandwidth", "Left out because"};

// Small enough for a 1366 x 768 screen with its panels; smaller still
// where the screen's free area is.
constexpr QSize kStartSize(1000, 560);

QString text(const std::string& value)
{
    return QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size()));
}

} // namespace

ListImportDialog::ListImportDialog(ChannelList list, std::string source, const QString& title, const QString& note,
                                   QWidget* parent)
    : QDialog(parent), list_(std::move(list)), source_(std::move(source)), bands_(new QComboBox(this)),
      rows_(new QTableWidget(this)), counter_(new QLabel(this)), import_(nullptr)
{
    setWindowTitle(title);
    setObjectName(QStringLiteral("ListImportDialog"));
    auto* layout = new QVBoxLayout(this);
    if (!note.isEmpty()) {
        auto* label = new QLabel(note, this);
        label->setObjectName(QStringLiteral("ListNote"));
        label->setWordWrap(true);
        layout->addWidget(label);
    }

    auto* bandRow = new QHBoxLayout;
    auto* bandLabel = new QLabel(QStringLiteral("&Band:"), this);
    bandLabel->setBuddy(bands_);
    bands_->setObjectName(QStringLiteral("ImportBand"));
    const auto counts = storableRowsPerBand(list_);
    for (int band = 1; band <= kBands; ++band) {
        const int count = counts[static_cast<std::size_t>(band - 1)];
        bands_->addItem(text(bandName(band)) + QStringLiteral(" (%1 %2)").arg(count).arg(count == 1 ? "row" : "rows"),
                        band);
    }
    counter_->setObjectName(QStringLiteral("ImportCounter"));
    bandRow->addWidget(bandLabel);
    bandRow->addWidget(bands_);
    bandRow->addStretch();
    bandRow->addWidget(counter_);
    layout->addLayout(bandRow);

    rows_->setObjectName(QStringLiteral("ImportRows"));
    rows_->setColumnCount(static_cast<int>(std::size(kHeaders)));
    QStringList headers;
    for (const char* header : kHeaders)
        headers << QString::fromLatin1(header);
    rows_->setHorizontalHeaderLabels(headers);
    rows_->verticalHeader()->hide();
    rows_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    rows_->setSelectionBehavior(QAbstractItemView::SelectRows);
    rows_->setSelectionMode(QAbstractItemView::SingleSelection);
    rows_->horizontalHeader()->setStretchLastSection(true);
    rows_->installEventFilter(this);
    layout->addWidget(rows_, 1);

    auto* buttons = new QDialogButtonBox(this);
    import_ = buttons->addButton(QStringLiteral("&Import"), QDialogButtonBox::AcceptRole);
    import_->setObjectName(QStringLiteral("ImportButton"));
    import_->setDefault(true);
    buttons->addButton(QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    fillRows();
    connect(rows_, &QTableWidget::itemChanged, this, [this] { countTicks(); });
    connect(bands_, &QComboBox::currentIndexChanged, this, [this](int index) { chooseBand(index + 1); });
    const int start = fullestBand(list_);
    bands_->setCurrentIndex(start == 0 ? 0 : start - 1);
    chooseBand(start == 0 ? 1 : start);
    rows_->resizeColumnsToContents();
    rows_->setFocus();
    if (rows_->rowCount() > 0)
        rows_->setCurrentCell(0, kLineColumn);
    const QScreen* shownOn = parent ? parent->screen() : screen();
    resize(kStartSize.boundedTo(shownOn->availableGeometry().size() - kUsualFrame));
}

void ListImportDialog::fillRows()
{
    rows_->setRowCount(static_cast<int>(list_.rows.size()));
    for (int r = 0; r < rows_->rowCount(); ++r) {
        const ListRow& row = list_.rows[static_cast<std::size_t>(r)];
        const std::string values[] = {std::to_string(row.line),  row.name,
                                      row.cells[ColRx - 1],      row.cells[ColTx - 1],
                                      row.cells[ColDecode - 1],  row.cells[ColEncode - 1],
                                      row.cells[ColPower - 1],   row.cells[ColBandwidth - 1],
                                      std::string()};
        for (int c = 0; c < rows_->columnCount(); ++c)
            rows_->setItem(r, c, new QTableWidgetItem(text(values[c])));
    }
}

void ListImportDialog::chooseBand(int band)
{
    const QSignalBlocker quiet(rows_);
    for (int r = 0; r < rows_->rowCount(); ++r) {
        const std::string why = whyLeftOut(list_.rows[static_cast<std::size_t>(r)], band);
        const Qt::ItemFlags flags = why.empty() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::ItemIsSelectable;
        for (int c = 0; c < rows_->columnCount(); ++c)
            rows_->item(r, c)->setFlags(flags);
        rows_->item(r, kLineColumn)->setFlags(flags | Qt::ItemIsUserCheckable);
        rows_->item(r, kLineColumn)->setCheckState(Qt::Unchecked);
        rows_->item(r, kReasonColumn)->setText(text(why));
    }
    for (const std::size_t r : firstRowsOfBand(list_, band))
        rows_->item(static_cast<int>(r), kLineColumn)->setCheckState(Qt::Checked);
    countTicks();
}

void ListImportDialog::countTicks()
{
    const auto ticked = static_cast<int>(tickedLines().size());
    counter_->setText(QStringLiteral("%1 of %2 channels").arg(ticked).arg(kChannels));
    import_->setEnabled(ticked >= 1 && ticked <= kChannels);
}

int ListImportDialog::band() const
{
    return bands_->currentData().toInt();
}

std::vector<int> ListImportDialog::tickedLines() const
{
    std::vector<int> lines;
    for (int r = 0; r < rows_->rowCount(); ++r)
        if (rows_->item(r, kLineColumn)->checkState() == Qt::Checked)
            lines.push_back(list_.rows[static_cast<std::size_t>(r)].line);
    return lines;
}

ListImport ListImportDialog::result() const
{
    return pickRows(list_, source_, tickedLines(), band());
}

bool ListImportDialog::eventFilter(QObject* watched, QEvent* event)
{
    // Space ticks the current row whichever of its cells is current.
    if (watched == rows_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space) {
        const int r = rows_->currentRow();
        QTableWidgetItem* box = r < 0 ? nullptr : rows_->item(r, kLineColumn);
        if (box && (box->flags() & Qt::ItemIsEnabled))
            box->setCheckState(box->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace zk
