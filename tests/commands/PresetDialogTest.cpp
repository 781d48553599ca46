// The real open and save dialogs (Qt's own widgets on the offscreen
// platform): the filter reads "(bin文件)*.bin" and lists only ".bin" files.
#include "commands/PresetCommands.h"

#include "support/QtPrinters.h"
#include "support/Waiting.h"

#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QListView>
#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

namespace qireq::test {
namespace {

// What a dialog showed while it was up.
struct DialogView {
    bool found = false;
    QString filterShown;
    QStringList listed;
};

class PresetDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        for (const char* name : {"hall.bin", "notes.txt"}) {
            QFile file(dir.filePath(QString::fromLatin1(name)));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        }
    }

    // Runs one dialog of the chooser; while it is up, points it at the
    // folder, waits until the folder is read, notes what it shows and
    // cancels it.
    DialogView Run(const char* dialogName, QString (DialogFileChooser::*choose)())
    {
        DialogView view;
        QTimer::singleShot(0, &owner, [&] {
            QPointer<QFileDialog> dialog =
                owner.findChild<QFileDialog*>(QString::fromLatin1(dialogName));
            if (!dialog)
                return;
            view.found = true;
            if (auto* combo = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo")))
                view.filterShown = combo->currentText();
            auto* model = dialog->findChild<QFileSystemModel*>();
            auto* list = dialog->findChild<QListView*>(QStringLiteral("listView"));
            if (model && list) {
                QSignalSpy loaded(model, &QFileSystemModel::directoryLoaded);
                dialog->setDirectory(dir.path());
                WaitFor([&] { return loaded.contains(QVariantList{dir.path()}); });
                const auto listed = [&] {
                    QStringList names;
                    const QModelIndex folder = list->rootIndex();
                    for (int row = 0; row < list->model()->rowCount(folder); ++row)
                        names << list->model()->index(row, 0, folder).data().toString();
                    return names;
                };
                WaitFor([&] { return listed().contains(QStringLiteral("hall.bin")); }, 1000);
                view.listed = listed();
            }
            if (dialog)
                dialog->reject();
        });
        EXPECT_EQ((chooser.*choose)(), QString()) << "cancelled";
        return view;
    }

    QTemporaryDir dir;
    QWidget owner;
    DialogFileChooser chooser{&owner};
};

TEST_F(PresetDialogTest, BothDialogsShowTheFilterAndListOnlyPresets)
{
    const struct {
        const char* name;
        QString (DialogFileChooser::*choose)();
    } dialogs[] = {{"OpenDialog", &DialogFileChooser::ChooseOpenName},
                   {"SaveDialog", &DialogFileChooser::ChooseSaveName}};
    for (const auto& d : dialogs) {
        SCOPED_TRACE(d.name);
        const DialogView view = Run(d.name, d.choose);
        ASSERT_TRUE(view.found);
        EXPECT_EQ(view.filterShown, QStringLiteral("(bin文件)*.bin"));
        EXPECT_EQ(view.listed, QStringList{QStringLiteral("hall.bin")});
    }
}

}  // namespace
}  // namespace qireq::test
