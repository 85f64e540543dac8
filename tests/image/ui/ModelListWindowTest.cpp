// The model list as the user works it: Button1 shows the catalogue, a double click on a line
// picks it; the main window shows the model and enables what a model allows.
#include <QPushButton>
#include <QTest>
#include <QTextBlock>

#include "image/ui/TForm2.h"
#include "shell/toolkit/TEdit.h"
#include "shell/ui/TForm1.h"
#include "tests/support/ShellFixture.h"

namespace vortana {
namespace {

// A catalogue line with its fields at their columns: `name` fills columns 4 to 18, `size`
// columns 45 to 48; the rest is the free space between the fields.
std::string Line(std::string_view number, std::string_view name, std::string_view start,
                 std::string_view end, std::string_view size, std::string_view code) {
    std::string line(number);
    line.append(" ").append(name).append(6, ' ').append(start).append(" - ").append(end);
    line.append(9, ' ').append(size).append(6, ' ').append(code);
    return line;
}

const std::string kHeader = "NO 型号           起始   结束        容量     代码";

// The enabled state of Button2 to Button7 as a text of 0/1.
QString ModelButtons(TForm1& form) {
    QString state;
    for (QPushButton* button :
         {form.Button2, form.Button3, form.Button4, form.Button5, form.Button6, form.Button7})
        state += button->isEnabled() ? u'1' : u'0';
    return state;
}

class ModelList : public ShellFixture {
  protected:
    void StartWithCatalogue(const std::string& bytes) {
        PutFile("MCUtype.txt", bytes);
        Start();
        Form1().ApplyButtonRule(ButtonEvent::SettingsSent);
    }

    // Opens the list with Button1 and double-clicks the catalogue line `line` (from 0) in the
    // middle of its text, as a user would.
    void Pick(int line) {
        bool shown = false;
        WhenModalShown([&](QWidget* modal) {
            shown = modal == Windows().Form2;
            TMemo& memo = *Windows().Form2->Memo1;
            QTextCursor cursor(memo.document()->findBlockByNumber(line));
            cursor.setPosition(cursor.block().position() + cursor.block().length() / 2);
            QTest::mouseDClick(memo.viewport(), Qt::LeftButton, {},
                               memo.cursorRect(cursor).center());
            EXPECT_FALSE(modal->isVisible()) << "the list closes as the line is picked";
        });
        QTest::mouseClick(Form1().Button1, Qt::LeftButton);
        EXPECT_TRUE(shown);
    }

    // What a pick writes: the session's model fields and the two boxes.
    std::vector<std::string> Picked() {
        const SessionState& s = *state_;
        return {s.ModelName,
                s.FlashStart,
                s.FlashEnd,
                s.FlashSizeText,
                s.ModelCode,
                s.FlashSizeK,
                std::to_string(s.ImageSize),
                Form1().Edit1->Text().toStdString(),
                Form1().Edit2->Text().toStdString()};
    }
};

struct Example {
    std::string line;
    std::string flashSizeK;
    std::uint32_t imageSize;
    QString edit2;
};

TEST_F(ModelList, ADoubleClickedLineBecomesTheModelAndAllowsLoadEraseAndReadOut) {
    const Example examples[] = {
        {Line("01", "VT8A-C32       ", "8000", "FFFF", "32K ", "0x00"), "32", 32768,
         " 8000 - FFFF 32K "},
        {Line("02", "VT8B-W16       ", "C000", "FFFF", "16K ", "0xB0"), "20", 20480,
         "B000-BFFF+C000-FFFF=20K"},
        {Line("03", "VT8C-L48       ", "4000", "FFFF", "48K ", "0x14"), "52", 53248,
         "1000-1FFF+4000-FFFF=52K"},
    };
    std::string catalogue = kHeader + "\r\n";
    for (const Example& example : examples)
        catalogue += example.line + "\r\n";
    StartWithCatalogue(catalogue);

    for (int i = 0; i < 3; ++i) {
        const Example& example = examples[i];
        SCOPED_TRACE(example.line);
        // As after an accepted download: a new model must be loaded again before programming.
        Form1().ApplyButtonRule(ButtonEvent::ModelChosen);
        Form1().ApplyButtonRule(ButtonEvent::DownloadAccepted);
        Pick(i + 1);
        EXPECT_EQ(state_->ModelName, example.line.substr(3, 15));
        EXPECT_EQ(state_->ModelCode, example.line.substr(54, 4));
        EXPECT_EQ(state_->FlashSizeK, example.flashSizeK);
        EXPECT_EQ(state_->ImageSize, example.imageSize);
        EXPECT_EQ(Form1().Edit1->Text(), QString::fromStdString(" " + example.line.substr(3, 15)));
        EXPECT_EQ(Form1().Edit2->Text(), example.edit2);
        //                              234567
        EXPECT_EQ(ModelButtons(Form1()), "110001");
    }
    EXPECT_TRUE(desktop_.Messages.isEmpty());
    EXPECT_TRUE(desktop_.Errors.isEmpty());
}

TEST_F(ModelList, AChineseModelNameIsCutByColumnsInAGbkOrAUtf8Catalogue) {
    // "演示芯片" takes eight columns; in the Chinese code page it is eight bytes as well.
    const std::string gbkName = "\xD1\xDD\xCA\xBE\xD0\xBE\xC6\xAC";
    const std::string tail = "VT4          F000 - FFFF         4K        0x00";
    const std::pair<const char*, std::string> catalogues[] = {
        {"GBK", "01 VT8A-C16             C000 - FFFF         16K       0x00\r\n07 " + gbkName +
                    tail + "\r\n"},
        {"UTF-8",
         "01 VT8A-C16             C000 - FFFF         16K       0x00\n07 演示芯片" + tail + "\n"},
    };
    for (const auto& [encoding, catalogue] : catalogues) {
        SCOPED_TRACE(encoding);
        state_ = std::make_unique<SessionState>();
        StartWithCatalogue(catalogue);
        Pick(1);
        EXPECT_EQ(state_->ModelName, "演示芯片VT4    ");
        EXPECT_EQ(Form1().Edit1->Text(), " 演示芯片VT4    ");
        EXPECT_EQ(Form1().Edit2->Text(), " F000 - FFFF 4K  ");
        EXPECT_EQ(state_->ImageSize, 4096u);
        EXPECT_EQ(ModelButtons(Form1()), "110001");
        forms_.reset();
    }
}

TEST_F(ModelList, ARefusedLineIsToldAndChangesNothingElse) {
    StartWithCatalogue(kHeader + "\n" +
                       Line("01", "VT8A-C32       ", "8000", "FFFF", "32K ", "0x00") + "\n" +
                       Line("02", "VT8B-W16       ", "C000", "FFFF", "16K ", "0xb0") + "\n" +
                       Line("03", "VT8D-X128      ", "0000", "FFFF", "128K", "0x00") + "\n");
    Pick(1);
    Form1().ApplyButtonRule(ButtonEvent::DownloadAccepted);
    const std::vector<std::string> before = Picked();
    const QString buttons = ModelButtons(Form1());

    // A lower-case code, a three-digit size, the header line; each message names what is wrong.
    const std::pair<int, QString> refusals[] = {{2, "0xb0"}, {3, "128K"}, {0, "MCUtype.txt"}};
    for (const auto& [line, named] : refusals) {
        SCOPED_TRACE(line);
        desktop_.Messages.clear();
        Pick(line);
        ASSERT_EQ(desktop_.Messages.size(), 1);
        EXPECT_TRUE(desktop_.Messages[0].contains(named)) << desktop_.Messages[0].toStdString();
        EXPECT_EQ(Picked(), before);
        EXPECT_EQ(ModelButtons(Form1()), buttons);
        EXPECT_FALSE(Windows().Form2->isVisible());
    }
    EXPECT_TRUE(desktop_.Errors.isEmpty());
}

}  // namespace
}  // namespace vortana
