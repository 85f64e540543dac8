#include <QApplication>
#include <QFontInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include "image/ui/TForm2.h"
#include "image/ui/TForm3.h"
#include "image/ui/TForm4.h"
#include "image/ui/TForm5.h"
#include "shell/toolkit/Look.h"
#include "shell/toolkit/SystemToolkit.h"
#include "shell/toolkit/TComboBox.h"
#include "shell/toolkit/TEdit.h"
#include "shell/toolkit/TLabel.h"
#include "shell/toolkit/TRadioGroup.h"
#include "shell/toolkit/TStatusBar.h"
#include "shell/ui/TForm1.h"
#include "tests/support/ShellFixture.h"

namespace vortana {
namespace {

using MainWindow = ShellFixture;

const QString kCom5Settings = "    COM5  8  N  1 ,  38400";

// The main window as designed: place is left, top, width, height; colours are the text's and, for
// boxes, the background's (empty: not checked).
struct ControlDesign {
    const char* name;
    QRect place;
    const char* text;  // caption, text, or a radio group's caption
    int pixels;
    const char* textColour;
    const char* background;
    bool enabled;
};

const ControlDesign kDesign[] = {
    {"Label1", {72, 304, 80, 16}, "操作进度：", 16, "#000000", "", true},
    {"Label2", {40, 152, 105, 21}, "芯片型号：", 21, "#000000", "", true},
    {"Label3", {432, 24, 80, 16}, "选择串口：", 16, "#000000", "", true},
    {"Label4", {40, 192, 118, 21}, "Flash地址：", 21, "#000000", "", true},
    {"Label5", {40, 232, 105, 21}, "烧写文件：", 21, "#000000", "", true},
    {"Label6", {432, 56, 80, 16}, "烧写次数：", 16, "#000000", "", true},
    {"Label7", {224, 280, 87, 56}, "0 %", 56, "#0000ff", "", true},
    {"Label8", {496, 360, 80, 16}, "查看缓冲区", 16, "#808080", "", true},
    {"Label9", {416, 312, 48, 16}, "0.0 秒", 16, "#808080", "", true},
    {"Label10", {153, 256, 10, 19}, "", 19, "#808080", "", true},
    {"Edit1", {152, 144, 265, 29}, "", 20, "#000000", "#c0c0c0", true},
    {"Edit2", {152, 182, 265, 29}, "", 21, "#000000", "#c0c0c0", true},
    {"Edit3", {152, 220, 265, 33}, "", 20, "#000000", "#c0c0c0", true},
    {"Edit4", {512, 48, 57, 24}, "0000", 16, "#ffffff", "#000000", true},
    {"ComboBox1", {512, 16, 57, 24}, "COM5", 16, "#ffffff", "#000000", true},
    {"Button8", {432, 80, 137, 41}, "设  置", 19, "", "", true},
    {"Button1", {432, 144, 137, 25}, "选 择 型 号", 16, "", "", false},
    {"Button2", {432, 224, 137, 25}, "加 载 文 件", 16, "", "", false},
    {"Button3", {64, 352, 75, 25}, "擦  除", 16, "", "", false},
    {"Button4", {181, 352, 75, 25}, "编  程", 16, "", "", false},
    {"Button5", {298, 352, 75, 25}, "校  验", 16, "", "", false},
    {"Button7", {416, 352, 75, 25}, "读  出", 16, "", "", false},
    {"Button6", {112, 400, 329, 25}, "擦 除 、 编 程 、 校 验", 16, "", "", false},
    {"RadioGroup1", {16, 8, 89, 113}, "烧写方式", 16, "#000000", "", true},
    {"RadioGroup2", {120, 8, 105, 113}, "供电方式", 16, "#000000", "", true},
    {"RadioGroup4", {240, 8, 81, 113}, "擦除使能", 16, "#000000", "", true},
    {"RadioGroup5", {336, 8, 81, 113}, "校验使能", 16, "#000000", "", true},
    {"RadioGroup3", {432, 176, 137, 41}, "是否烧入序列号？", 12, "#0000ff", "", false},
    {"StatusBar1", {0, 432, 587, 34}, "", 19, "", "", true},
};

QString TextOf(QWidget* control) {
    if (auto* label = qobject_cast<QLabel*>(control))
        return label->text();
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        return edit->text();
    if (auto* combo = qobject_cast<QComboBox*>(control))
        return combo->currentText();
    if (auto* button = qobject_cast<QPushButton*>(control))
        return button->text();
    if (auto* group = qobject_cast<QGroupBox*>(control))
        return group->title();
    return QString();
}

// Boxes show their text in the Text role over Base; labels and captions use WindowText.
bool IsBox(QWidget* control) {
    return qobject_cast<QLineEdit*>(control) || qobject_cast<QComboBox*>(control);
}

TEST_F(MainWindow, IsBuiltAsDesigned) {
    Start();
    TForm1& form = Form1();
    EXPECT_EQ(form.windowTitle(), "VORTANA编程界面 V5.0---Telmaris");
    EXPECT_EQ(form.size(), QSize(587, 466));
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
    EXPECT_FALSE(form.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(form.windowFlags() & Qt::WindowMinimizeButtonHint);
    form.show();

    for (const ControlDesign& design : kDesign) {
        SCOPED_TRACE(design.name);
        auto* control = form.findChild<QWidget*>(design.name);
        ASSERT_NE(control, nullptr);
        const QRect place = control->geometry();
        if (qobject_cast<QLabel*>(control)) {
            // Labels grow to the right when the stand-in font needs more room than designed.
            EXPECT_EQ(place.topLeft(), design.place.topLeft());
            EXPECT_EQ(place.height(), design.place.height());
            EXPECT_GE(place.width(), design.place.width());
            EXPECT_GE(place.width(), control->fontMetrics().horizontalAdvance(TextOf(control)));
        } else {
            EXPECT_EQ(place, design.place);
        }
        EXPECT_EQ(TextOf(control), QString::fromUtf8(design.text));
        EXPECT_EQ(control->font().pixelSize(), design.pixels);
        EXPECT_TRUE(SongFamilies().contains(QFontInfo(control->font()).family()));
        EXPECT_EQ(control->isEnabled(), design.enabled);
        const QPalette& colours = control->palette();
        if (*design.textColour) {
            const auto role = IsBox(control) ? QPalette::Text : QPalette::WindowText;
            EXPECT_EQ(colours.color(role).name(), design.textColour);
        }
        if (*design.background) {
            EXPECT_EQ(colours.color(QPalette::Base).name(), design.background);
        }
    }
    // The progress figure is bold, emboldened from the regular face that every other text uses.
    const QFontInfo progressFace(form.Label7->font());
    EXPECT_TRUE(progressFace.bold());
    EXPECT_EQ(progressFace.styleName(), kSongRegularStyle);
    for (TEdit* box : {form.Edit1, form.Edit2, form.Edit3})
        EXPECT_TRUE(box->isReadOnly());
    EXPECT_FALSE(form.Edit4->isReadOnly());
    EXPECT_EQ(form.Edit4->maxLength(), 4);
    EXPECT_TRUE(form.ComboBox1->isEditable());
    QStringList items;
    for (int i = 0; i < form.ComboBox1->count(); ++i)
        items.append(form.ComboBox1->itemText(i));
    EXPECT_EQ(items, QStringList(
                         {"COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7", "COM8", "COM9"}));
}

TEST_F(MainWindow, RadioGroupsHoldTheirItemsInTheirOrderAndStartAtTheFirst) {
    Start();
    const std::pair<TRadioGroup*, QStringList> groups[] = {
        {Form1().RadioGroup1, {"在线", "离线"}}, {Form1().RadioGroup2, {"输出5V", "输出3.3V"}},
        {Form1().RadioGroup3, {"否", "是"}},     {Form1().RadioGroup4, {"是", "否"}},
        {Form1().RadioGroup5, {"是", "否"}},
    };
    for (const auto& [group, items] : groups) {
        SCOPED_TRACE(group->objectName().toStdString());
        ASSERT_EQ(group->Count(), items.size());
        for (int i = 0; i < group->Count(); ++i)
            EXPECT_EQ(group->Item(i)->text(), items[i]);
        EXPECT_EQ(group->ItemIndex(), 0);
    }
    Form1().show();
    EXPECT_EQ(Form1().RadioGroup3->Item(0)->y(), Form1().RadioGroup3->Item(1)->y());  // 2 columns
    EXPECT_FALSE(Form1().Timer1.Enabled());
    EXPECT_EQ(Form1().Timer1.Interval(), 200u);
    EXPECT_FALSE(Form1().Timer2.Enabled());
    EXPECT_EQ(Form1().Timer2.Interval(), 100u);
}

TEST_F(MainWindow, TheOtherWindowsHaveTheirCaptionsSizesAndPlaces) {
    Start();
    struct Dialog {
        QWidget* form;
        const char* caption;
        QSize client;
        std::optional<QPoint> place;
    };
    const Dialog dialogs[] = {
        {Windows().Form2, "VORTANAMCU型号", {541, 442}, std::nullopt},
        {Windows().Form3, "读出操作", {578, 442}, QPoint(518, 221)},
        {Windows().Form4, "读出文件缓冲", {578, 466}, QPoint(359, 158)},
        {Windows().Form5, "序列号设置", {271, 225}, QPoint(515, 265)},
    };
    for (const Dialog& dialog : dialogs) {
        SCOPED_TRACE(dialog.caption);
        EXPECT_EQ(dialog.form->windowTitle(), QString::fromUtf8(dialog.caption));
        EXPECT_EQ(dialog.form->size(), dialog.client);
        EXPECT_EQ(dialog.form->minimumSize(), dialog.form->maximumSize());
        EXPECT_FALSE(dialog.form->windowFlags() & Qt::WindowMaximizeButtonHint);
        EXPECT_FALSE(dialog.form->windowFlags() & Qt::WindowMinimizeButtonHint);
        EXPECT_FALSE(dialog.form->isVisible());
        if (dialog.place) {
            EXPECT_EQ(dialog.form->pos(), *dialog.place);
        }
    }
    QPlainTextEdit* list = Windows().Form2->Memo1;
    EXPECT_EQ(list->objectName(), "Memo1");
    EXPECT_TRUE(list->isReadOnly());
    EXPECT_EQ(list->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_EQ(list->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(list->palette().color(QPalette::Base).name(), "#c0c0c0");
}

TEST_F(MainWindow, EscapeClosesNeitherTheHexViewsNorTheModelList) {
    Start();
    for (QDialog* view :
         std::initializer_list<QDialog*>{Windows().Form2, Windows().Form3, Windows().Form4}) {
        SCOPED_TRACE(view->windowTitle().toStdString());
        const QSignalSpy closes(view, &QDialog::finished);
        WhenModalShown([&](QWidget* modal) {
            QWidget* memo = modal->findChild<QWidget*>("Memo1");
            memo->setFocus();
            QTest::keyClick(memo, Qt::Key_Escape);
            QTest::keyClick(modal, Qt::Key_Escape);
            EXPECT_TRUE(modal->isVisible());
        });
        view->exec();
        EXPECT_EQ(closes.count(), 1);  // by the test, afterwards
    }
}

TEST_F(MainWindow, StartsWithCom5WhenNothingIsRememberedAndWritesNothing) {
    desktop_.Screen = {1001, 800};
    Start();
    EXPECT_EQ(Form1().ComboBox1->Text(), "COM5");
    EXPECT_EQ(Form1().StatusBar1->PanelText(0), kCom5Settings);
    EXPECT_FALSE(FileExists("sysset.ini"));
    EXPECT_EQ(state_->ExeDir, desktop_.Dir);
    EXPECT_EQ(Form1().pos(), QPoint((1001 - 587) / 2, (800 - 466) / 2));
    EXPECT_EQ(Form1().StatusBar1->PanelWidth(0), 587 / 2);
    EXPECT_EQ(Form1().Label7->Caption(), "0 %");
    EXPECT_EQ(state_->ProgressPercent, 0u);
}

TEST_F(MainWindow, IsCentredWithItsFrameOnceShown) {
    desktop_.Screen = {1001, 800};
    Start();
    Form1().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Form1()));
    const QRect outer = Form1().frameGeometry();
    ASSERT_NE(outer.size(), Form1().size()) << "the platform gives the window no frame";
    EXPECT_EQ(outer.topLeft(), QPoint((1001 - outer.width()) / 2, (800 - outer.height()) / 2));
}

TEST_F(MainWindow, StartsWithTheRememberedPort) {
    PutFile("sysset.ini", "[comx]\r\nnum=COM7\r\n");
    Start();
    EXPECT_EQ(Form1().ComboBox1->Text(), "COM7");
    EXPECT_EQ(Form1().StatusBar1->PanelText(0), "    COM7  8  N  1 ,  38400");
    EXPECT_EQ(FileText("sysset.ini"), "[comx]\r\nnum=COM7\r\n");
}

TEST_F(MainWindow, EveryKeystrokeInThePortBoxRewritesTheSettingsFile) {
    Start();
    QLineEdit* text = Form1().ComboBox1->lineEdit();
    text->selectAll();
    QTest::keyClick(text, Qt::Key_Backspace);
    EXPECT_EQ(FileText("sysset.ini"), "[comx]\nnum=\n");
    QStringList seen;
    for (const char* key : {"C", "O", "M", "1"}) {
        QTest::keyClicks(text, key);
        seen.append(QString::fromStdString(FileText("sysset.ini")));
        EXPECT_EQ(Form1().StatusBar1->PanelText(0),
                  "    " + Form1().ComboBox1->Text() + "  8  N  1 ,  38400");
    }
    EXPECT_EQ(seen, QStringList({"[comx]\nnum=C\n", "[comx]\nnum=CO\n", "[comx]\nnum=COM\n",
                                 "[comx]\nnum=COM1\n"}));
}

TEST_F(MainWindow, APortChangeKeepsEveryOtherByteOfTheSettingsFile) {
    const std::string before =
        "; written by hand\r\n[window]\r\nleft=10\r\n\r\n[comx]\r\n; the port\r\nnum = COM7\r\n"
        "speed=38400\r\n[last]\r\nx=1";
    PutFile("sysset.ini", before);
    Start();
    Form1().ComboBox1->setCurrentIndex(1);
    QTest::keyClick(Form1().ComboBox1, Qt::Key_Down);  // a pick: COM3
    EXPECT_EQ(FileText("sysset.ini"),
              "; written by hand\r\n[window]\r\nleft=10\r\n\r\n[comx]\r\n; the port\r\n"
              "num = COM3\r\nspeed=38400\r\n[last]\r\nx=1");
}

TEST_F(MainWindow, AnUnwritableSettingsFileIsToldOnceThePortWasTried) {
    desktop_.Dir += "missing/";  // the directory is not there: nothing can be written
    Start();
    EXPECT_EQ(Form1().ComboBox1->Text(), "COM5");
    Form1().StatusBar1->SetPanelText(1, "as before");
    QString outcomeDuringTheBox;
    desktop_.WhileErrorBoxOpen = [&] { outcomeDuringTheBox = Form1().StatusBar1->PanelText(1); };
    QTest::keyClick(Form1().ComboBox1->lineEdit(), Qt::Key_2);
    EXPECT_EQ(Form1().StatusBar1->PanelText(0), "    COM52  8  N  1 ,  38400");
    EXPECT_EQ(desktop_.Errors,
              QStringList({QString::fromStdString("Cannot create file \"" + PathOf("sysset.ini") +
                                                  "\". No such file or directory.")}));
    EXPECT_EQ(outcomeDuringTheBox, kPortFailedText);  // COM52 was tried first
}

TEST_F(MainWindow, TheBurnCountRefusesLettersWithABeepAndAFifthDigit) {
    Start();
    TEdit* count = Form1().Edit4;
    QTest::keyClicks(count, "7a");  // the box is full with "0000"
    EXPECT_EQ(count->Text(), "0000");
    EXPECT_EQ(desktop_.Beeps, 1);
}

TEST_F(MainWindow, TheModelListIsReadAfreshAtEveryClickAndCentred) {
    desktop_.Screen = {1025, 769};
    PutFile("MCUtype.txt", "   first model\r\n   second\r\n");
    Start();
    Form1().Button1->setEnabled(true);
    QStringList lists;
    const auto look = [&](QWidget* modal) {
        EXPECT_EQ(modal, Windows().Form2);
        lists.append(Windows().Form2->Memo1->toPlainText());
        const QRect outer = modal->frameGeometry();  // with the frame, from the first show on
        EXPECT_EQ(outer.topLeft(),
                  QPoint(1025 / 2 - outer.width() / 2, 769 / 2 - outer.height() / 2));
    };
    WhenModalShown(look);
    QTest::mouseClick(Form1().Button1, Qt::LeftButton);
    PutFile("MCUtype.txt", "\xD0\xCD\xBA\xC5 GBK\nthird\n");
    WhenModalShown(look);
    QTest::mouseClick(Form1().Button1, Qt::LeftButton);
    EXPECT_EQ(lists, QStringList({"   first model\n   second", "型号 GBK\nthird"}));
    EXPECT_TRUE(desktop_.Errors.isEmpty());
}

TEST_F(MainWindow, AMissingCatalogueShowsTheErrorAndNotTheList) {
    PutFile("MCUtype.txt", "old");
    Start();
    Windows().Form2->SetLines({"kept"});
    std::filesystem::remove(PathOf("MCUtype.txt"));
    Form1().Button1->setEnabled(true);
    QTest::mouseClick(Form1().Button1, Qt::LeftButton);
    EXPECT_EQ(desktop_.Errors,
              QStringList({QString::fromStdString("Cannot open file \"" + PathOf("MCUtype.txt") +
                                                  "\". No such file or directory.")}));
    EXPECT_FALSE(Windows().Form2->isVisible());
    EXPECT_EQ(Windows().Form2->Memo1->toPlainText(), "kept");
}

TEST_F(MainWindow, TheFileNameBoxAndTheBufferLabelOpenTheHexViews) {
    Start();
    QWidget* shown = nullptr;
    WhenModalShown([&](QWidget* modal) { shown = modal; });
    QTest::mouseClick(Form1().Edit3, Qt::LeftButton);
    EXPECT_EQ(shown, Windows().Form4);
    WhenModalShown([&](QWidget* modal) { shown = modal; });
    QTest::mouseClick(Form1().Label8, Qt::LeftButton);
    EXPECT_EQ(shown, Windows().Form3);
}

// Enabled state of the command buttons Button1 to Button8 and of RadioGroup3, as a text of 0/1.
QString EnabledState(TForm1& form) {
    QString state;
    for (QWidget* control :
         {static_cast<QWidget*>(form.Button1), static_cast<QWidget*>(form.Button2),
          static_cast<QWidget*>(form.Button3), static_cast<QWidget*>(form.Button4),
          static_cast<QWidget*>(form.Button5), static_cast<QWidget*>(form.Button6),
          static_cast<QWidget*>(form.Button7), static_cast<QWidget*>(form.Button8),
          static_cast<QWidget*>(form.RadioGroup3)})
        state += control->isEnabled() ? u'1' : u'0';
    return state;
}

TEST_F(MainWindow, FollowsTheButtonCourse) {
    Start();
    TForm1& form = Form1();
    //                               1234567 8 R3
    EXPECT_EQ(EnabledState(form), "000000010");
    form.ApplyButtonRule(ButtonEvent::SettingsSent);
    EXPECT_EQ(EnabledState(form), "100000010");
    form.ApplyButtonRule(ButtonEvent::ModelChosen);
    EXPECT_EQ(EnabledState(form), "111000110");
    form.ApplyButtonRule(ButtonEvent::DownloadAccepted);
    EXPECT_EQ(EnabledState(form), "111111110");
    form.ApplyButtonRule(ButtonEvent::ModelChosen);  // another model: load again first
    EXPECT_EQ(EnabledState(form), "111000110");
    form.ApplyButtonRule(ButtonEvent::OfflineChosen);
    EXPECT_EQ(EnabledState(form), "111000111");
    form.ApplyButtonRule(ButtonEvent::OnlineChosen);
    EXPECT_EQ(EnabledState(form), "111000110");

    for (TEdit* box : {form.Edit1, form.Edit2, form.Edit3})
        box->SetText("filled");
    form.ApplyButtonRule(ButtonEvent::LoadGivenUp);
    EXPECT_EQ(EnabledState(form), "000000010");
    for (TEdit* box : {form.Edit1, form.Edit2, form.Edit3})
        EXPECT_EQ(box->Text(), "");
    for (TEdit* box : {form.Edit1, form.Edit2, form.Edit3})
        box->SetText("filled");
    form.ApplyButtonRule(ButtonEvent::SettingsSent);
    for (TEdit* box : {form.Edit1, form.Edit2, form.Edit3})
        EXPECT_EQ(box->Text(), "");
    // Controls outside the table stay enabled all along.
    for (QWidget* control :
         {static_cast<QWidget*>(form.ComboBox1), static_cast<QWidget*>(form.Edit4),
          static_cast<QWidget*>(form.RadioGroup1)})
        EXPECT_TRUE(control->isEnabled());
}

TEST_F(MainWindow, AModeChangeSetsTheSerialQuestionBackToNoThroughItsHandler) {
    Start();
    TForm1& form = Form1();
    int questionClicks = 0;
    form.RadioGroup3->OnClick = [&] { ++questionClicks; };
    form.ApplyButtonRule(ButtonEvent::OfflineChosen);
    EXPECT_EQ(questionClicks, 0);  // already "否": no change
    form.RadioGroup3->SetItemIndex(1);
    questionClicks = 0;
    form.ApplyButtonRule(ButtonEvent::OnlineChosen);
    EXPECT_EQ(questionClicks, 1);
    EXPECT_EQ(form.RadioGroup3->ItemIndex(), 0);
}

}  // namespace
}  // namespace vortana
