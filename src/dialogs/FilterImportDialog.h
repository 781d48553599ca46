#pragma once
// What an import of filter text would do, shown before anything is applied:
// the imported filters' own response and the unit's fitted bands on a
// response plot, the largest and RMS difference between them, and the
// import's full report (each band with the filters it stands for, filters
// merged, left out or off, the trim, every line not read with its number).
// OK accepts, Cancel (or closing) rejects. OK is offered only when the text
// held a filter or a preamp.
#include "filters/FilterImport.h"

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace qireq {

class TFFTDraw;

class FilterImportDialog : public QDialog {
    Q_OBJECT
public:
    // Plot numbers of the two curves.
    static constexpr int kImportedPlot = 0;
    static constexpr int kFittedPlot = 1;

    FilterImportDialog(const ImportResult& result, const QString& fileName, QWidget* owner);

    TFFTDraw* Plot() const { return plot_; }
    QLabel* Difference() const { return difference_; }
    QPlainTextEdit* Report() const { return report_; }
    QPushButton* OkButton() const { return ok_; }

private:
    TFFTDraw* plot_ = nullptr;
    QLabel* difference_ = nullptr;
    QPlainTextEdit* report_ = nullptr;
    QPushButton* ok_ = nullptr;
};

}  // namespace qireq
