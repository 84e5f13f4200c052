#include "RadioCommandDialog.h"

#include "Codec.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace zk {

RadioCommandDialog::RadioCommandDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint), step_(new QLabel(this)), bar_(new QProgressBar(this))
{
    setObjectName(QStringLiteral("RadioCommandDialog"));
    setModal(false);
    step_->setObjectName(QStringLiteral("Step"));
    bar_->setObjectName(QStringLiteral("ProgressBar1"));
    bar_->setRange(0, kBlocks);
    bar_->setTextVisible(false);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(step_);
    layout->addWidget(bar_);
    setMinimumWidth(320);
}

void RadioCommandDialog::begin(const QString& command)
{
    setWindowTitle(command);
    step_->setText(command);
    bar_->setValue(0);
    show();
}

void RadioCommandDialog::progress(const std::string& text, int blocksDone)
{
    step_->setText(QString::fromStdString(text));
    bar_->setValue(blocksDone);
}

void RadioCommandDialog::end()
{
    hide();
}

} // namespace zk
