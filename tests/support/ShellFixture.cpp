#include "tests/support/ShellFixture.h"

#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <filesystem>
#include <fstream>
#include <random>

#include "image/ui/TForm2.h"
#include "shell/FileAccess.h"
#include "shell/ui/TForm1.h"

namespace vortana {

namespace {

// A new folder of the system's temporary folder, its path ending in '/'.
std::string NewTemporaryFolder() {
    namespace fs = std::filesystem;
    std::random_device random;
    for (;;) {
        const fs::path folder =
            fs::temp_directory_path() / ("vortana-shell-" + std::to_string(random()));
        if (fs::create_directory(folder))
            return folder.generic_string() + "/";
    }
}

}  // namespace

ShellFixture::ShellFixture() {
    desktop_.Dir = NewTemporaryFolder();
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
