#include "app/WindowStyle.h"

#include "controls/Artwork.h"

#include <QColor>

namespace qireq {

namespace {

QString Hex(unsigned rgb) { return QColor::fromRgb(static_cast<QRgb>(rgb)).name(); }

}  // namespace

QString MainWindowStyleSheet()
{
    using namespace palette;
    QString sheet = QStringLiteral(R"(
QMainWindow, #CentralWidget { background: @window; }
QWidget { color: @text; font-size: 11px; }
QMenuBar { background: @panel; border-bottom: 1px solid @edge; }
QMenuBar::item { padding: 3px 10px; background: transparent; }
QMenuBar::item:selected { background: @raised; }
QMenu { background: @panel; border: 1px solid @edge; }
QMenu::item { padding: 4px 22px 4px 18px; }
QMenu::item:selected { background: @raised; }
QMenu::item:disabled { color: @dim; }
#DeviceColumn, #Panel1, #Panel3, #StatusRow {
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 @panelTop, stop:1 @panel);
    border: 1px solid @edge; border-radius: 5px;
}
#Panel2 { background: transparent; border: none; }
#Panel4 { background: @window; border: 1px solid @edge; border-radius: 4px; }
QLabel { background: transparent; }
#Label1, #Label2, #Label3 { color: @accent; font-weight: bold; }
#TimeLabel { font-weight: bold; color: @dim; }
#CountCaption, #deviceCountLabel { color: @dim; }
#deviceCountLabel { font-weight: bold; color: @text; }
#TempLabel, #ProtectedLabel, #TempOverLabel, #VoltageLabel, #StandbyLabel { font-weight: bold; }
QPushButton {
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 @raisedTop, stop:1 @raised);
    border: 1px solid @edge; border-radius: 4px; padding: 3px 10px;
}
QPushButton:hover { border-color: @accent; }
QPushButton:pressed { background: @panel; }
QPushButton:disabled { color: rgb(192, 192, 192); }
QLineEdit {
    background: @window; border: 1px solid @edge; border-radius: 3px;
    padding: 0 1px; font-weight: bold; selection-background-color: @accent;
}
QLineEdit:disabled { color: @dim; }
QPlainTextEdit { background: @window; border: 1px solid @edge; }
QScrollArea#DeviceBox { background: @window; border: 1px solid @edge; border-radius: 3px; }
#DeviceBoxContents { background: @window; }
QScrollBar:vertical { background: @window; width: 10px; margin: 0; }
QScrollBar::handle:vertical { background: @raised; border-radius: 4px; min-height: 24px; }
QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }
QToolTip { background: @panel; color: @text; border: 1px solid @edge; }
)");
    const QColor panel = QColor::fromRgb(static_cast<QRgb>(kPanel));
    const QColor raised = QColor::fromRgb(static_cast<QRgb>(kPanelRaised));
    sheet.replace(QStringLiteral("@window"), Hex(kWindow));
    sheet.replace(QStringLiteral("@panelTop"), panel.lighter(118).name());
    sheet.replace(QStringLiteral("@panel"), Hex(kPanel));
    sheet.replace(QStringLiteral("@raisedTop"), raised.lighter(125).name());
    sheet.replace(QStringLiteral("@raised"), Hex(kPanelRaised));
    sheet.replace(QStringLiteral("@edge"), Hex(kEdge));
    sheet.replace(QStringLiteral("@text"), Hex(kText));
    sheet.replace(QStringLiteral("@dim"), Hex(kTextDim));
    sheet.replace(QStringLiteral("@accent"), Hex(kAccent));
    return sheet;
}

QPalette MainWindowPalette()
{
    using namespace palette;
    auto c = [](unsigned rgb) { return QColor::fromRgb(static_cast<QRgb>(rgb)); };
    QPalette p;
    p.setColor(QPalette::Window, c(kWindow));
    p.setColor(QPalette::WindowText, c(kText));
    p.setColor(QPalette::Base, c(kWindow));
    p.setColor(QPalette::AlternateBase, c(kPanel));
    p.setColor(QPalette::Text, c(kText));
    p.setColor(QPalette::Button, c(kPanelRaised));
    p.setColor(QPalette::ButtonText, c(kText));
    p.setColor(QPalette::Highlight, c(kAccent));
    p.setColor(QPalette::HighlightedText, c(kWindow));
    p.setColor(QPalette::ToolTipBase, c(kPanel));
    p.setColor(QPalette::ToolTipText, c(kText));
    p.setColor(QPalette::Light, c(kEdge).lighter(130));
    p.setColor(QPalette::Midlight, c(kEdge));
    p.setColor(QPalette::Mid, c(kPanel));
    p.setColor(QPalette::Dark, c(kWindow).darker(130));
    p.setColor(QPalette::Disabled, QPalette::WindowText, c(kTextDim));
    p.setColor(QPalette::Disabled, QPalette::Text, c(kTextDim));
    p.setColor(QPalette::Disabled, QPalette::ButtonText, c(kTextDim));
    return p;
}

}  // namespace qireq
