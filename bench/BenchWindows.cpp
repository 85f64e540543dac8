#include "bench/BenchWindows.h"

#include <QEventLoop>
#include <QTimer>
#include <fstream>

#include "image/ModelPick.h"
#include "shell/ui/TForm1.h"

namespace vortana::bench {
namespace {

constexpr char kModelLine[] = "01 VT8F-F64             0000 - FFFF         64K       0x00";
constexpr int kPollMs = 5;

}  // namespace

BenchWindows::BenchWindows(Desktop& desktop, const std::string& port) {
    std::ofstream(desktop.ExeDir() + "sysset.ini") << "[comx]\nnum=" << port << "\n";
    windows_ = std::make_unique<Forms>(*state_, desktop);
    if (!Form1().Comm1.IsOpen())
        Fail("the port " + port + " did not open");
    PickModel(kModelLine).pick->ApplyTo(*state_);
    Form1().ApplyButtonRule(ButtonEvent::ModelChosen);
}

BenchDesktop::BenchDesktop(const ScratchDir& dir, std::string file)
    : dir_(dir.Path().string() + "/"), file_(QString::fromStdString(file)) {}

std::optional<QString> BenchDesktop::ChooseOpenFile(QWidget*, const QString&) {
    if (file_.isEmpty())
        return std::nullopt;
    return file_;
}

bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (done())
            loop.quit();
    });
    poll.start(kPollMs);
    QTimer::singleShot(limit, &loop, &QEventLoop::quit);
    if (!done())
        loop.exec();
    return done();
}

}  // namespace vortana::bench
