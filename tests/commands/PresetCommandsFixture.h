#pragma once
// The preset commands on the real editor, with file names given by a script
// and message boxes answered by the test.
#include "commands/PresetCommands.h"

#include "controls/MessageBoxes.h"
#include "editor/EditorFixture.h"
#include "presets/PresetFile.h"
#include "presets/PresetRecord.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <memory>

namespace qireq::test {

// File names as the user would pick them; an empty text is a cancel.
class ScriptedChooser : public PresetFileChooser {
public:
    QString saveName;
    QString openName;
    std::function<void()> onSave;  // runs while the save dialog would be up
    int openAsked = 0;

    QString ChooseSaveName() override
    {
        if (onSave)
            onSave();
        return saveName;
    }
    QString ChooseOpenName() override
    {
        ++openAsked;
        return openName;
    }
};

class PresetCommandsFixture : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        if (HasFatalFailure())
            return;
        ASSERT_TRUE(dir.isValid());
        commands = std::make_unique<PresetCommands>(state_, requests_, savingRecord, *editor_,
                                                    *window_);
        auto owned = std::make_unique<ScriptedChooser>();
        chooser = owned.get();
        commands->SetFileChooser(std::move(owned));
        window_->setWindowTitle(QStringLiteral("QIR-EQ_V4.7"));
    }

    void TearDown() override
    {
        commands.reset();
        EditorTest::TearDown();
    }

    // A preset whose trim is -7 dB.
    QString WritePreset(const QString& name)
    {
        EqBlock record = ResetBlock;
        record[kBlockTrimOffset] = 107;
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(PresetFileText(record));
        return path;
    }

    QStringList Texts() const
    {
        QStringList texts;
        for (const MessageBoxes::Record& box : boxes.Boxes())
            texts << box.text;
        return texts;
    }

    MessageBoxes::TestMode boxes{MessageBoxes::Answer::Yes};
    QTemporaryDir dir;
    EqBlock savingRecord = NewSavingRecord();
    std::unique_ptr<PresetCommands> commands;
    ScriptedChooser* chooser = nullptr;
};

}  // namespace qireq::test
