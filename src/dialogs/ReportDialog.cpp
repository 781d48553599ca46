#include "dialogs/ReportDialog.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace qireq {

ReportDialog::ReportDialog(const QString& connectedText, QWidget* parent)
    : QDialog(parent), fileEdit_(new QLineEdit(this)), noteEdit_(new QPlainTextEdit(this))
{
    setObjectName(QStringLiteral("ReportDialog"));
    setWindowTitle(QStringLiteral("Export Report"));
    fileEdit_->setObjectName(QStringLiteral("ReportFileEdit"));
    noteEdit_->setObjectName(QStringLiteral("ReportNoteEdit"));
    noteEdit_->setPlaceholderText(QStringLiteral("Venue, system, settings agreed, ..."));

    auto* browse = new QPushButton(QStringLiteral("Browse..."), this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    okButton_ = buttons->button(QDialogButtonBox::Ok);
    okButton_->setEnabled(false);

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(connectedText, this), 0, 0, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("File:"), this), 1, 0);
    grid->addWidget(fileEdit_, 1, 1);
    grid->addWidget(browse, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Note:"), this), 2, 0, Qt::AlignTop);
    grid->addWidget(noteEdit_, 2, 1, 1, 2);
    grid->addWidget(buttons, 3, 0, 1, 3);
    resize(480, 300);

    connect(browse, &QPushButton::clicked, this, &ReportDialog::Browse);
    connect(fileEdit_, &QLineEdit::textChanged, this,
            [this](const QString& text) { okButton_->setEnabled(!text.trimmed().isEmpty()); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

QString ReportDialog::FileName() const
{
    return fileEdit_->text().trimmed();
}

QString ReportDialog::Note() const
{
    return noteEdit_->toPlainText();
}

void ReportDialog::Browse()
{
    // The report's own question about an existing file comes later.
    const QString chosen = QFileDialog::getSaveFileName(this, QStringLiteral("Export Report"), FileName(),
                                                        QStringLiteral("PDF (*.pdf)"), nullptr,
                                                        QFileDialog::DontConfirmOverwrite);
    if (!chosen.isEmpty())
        fileEdit_->setText(chosen);
}

}  // namespace qireq
