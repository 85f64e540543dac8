#include "tests/support/ShellFixture.h"

#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "image/ui/TForm2.h"
#include "shell/FileAccess.h"
#include "shell/ui/TForm1.h"

namespace vortana {

ShellFixture::ShellFixture() {
    char pattern[] = "/tmp/vortana-shell-XXXXXX";
    if (::mkdtemp(pattern) == nullptr)
        throw std::runtime_error("cannot make a temporary directory");
    desktop_.Dir = std::string(pattern) + "/";
}

ShellFixture::~ShellFixture() {
    forms_.reset();
    std::filesystem::remove_all(desktop_.Dir);
}

void ShellFixture::Start() {
    forms_ = std::make_unique<Forms>(*state_, desktop_);
}

void ShellFixture::PutFile(const std::string& name, const std::string& bytes) const {
    std::ofstream(PathOf(name), std::ios::binary) << bytes;
}

void ShellFixture::RememberPort(const std::string& port) const {
    PutFile("sysset.ini", "[comx]\nnum=" + port + "\n");
}

void ShellFixture::PickCatalogueLine(int line) {
    WhenModalShown([this, line](QWidget*) {
        TMemo& memo = *Windows().Form2->Memo1;
        QTextCursor cursor(memo.document()->findBlockByNumber(line));
        QTest::mouseDClick(memo.viewport(), Qt::LeftButton, {}, memo.cursorRect(cursor).center());
    });
    QTest::mouseClick(Form1().Button1, Qt::LeftButton);
}

std::string ShellFixture::FileText(const std::string& name) const {
    return FileExists(name) ? ReadFileBytes(PathOf(name)) : std::string();
}

bool ShellFixture::FileExists(const std::string& name) const {
    return std::filesystem::exists(PathOf(name));
}

}  // namespace vortana
