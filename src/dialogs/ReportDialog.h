#pragma once
// File > "Export Report...": where the PDF goes (typed, or picked with
// "Browse...") and a free-text note printed at the foot of the report. OK
// is enabled once a file name is there. GUI thread only.
#include <QDialog>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace qireq {

class ReportDialog : public QDialog {
    Q_OBJECT
public:
    explicit ReportDialog(const QString& connectedText, QWidget* parent = nullptr);

    QString FileName() const;
    QString Note() const;
    QLineEdit* FileEdit() const { return fileEdit_; }
    QPlainTextEdit* NoteEdit() const { return noteEdit_; }

private:
    void Browse();

    QLineEdit* fileEdit_;
    QPlainTextEdit* noteEdit_;
    QPushButton* okButton_ = nullptr;
};

}  // namespace qireq
