#include "shell/toolkit/QtDesktop.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QScreen>

#include "shell/SettingsFolder.h"
#include "shell/toolkit/SystemToolkit.h"

namespace vortana {

int BoxWidthForCaption(const QString& caption) {
    const QFontMetrics titleFace(QFontDatabase::systemFont(QFontDatabase::TitleFont));
    return titleFace.horizontalAdvance(caption) + kTitleBarFurniture;
}

namespace {

// A modal box centred on the screen (it has no parent window to centre on); exec runs a nested
// event loop, so replies and timer ticks go on being handled while it is open.
void ShowBox(QMessageBox::Icon icon, const QString& text) {
    QMessageBox box(icon, QString::fromUtf8(kApplicationTitle), text, QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    // A message box lays itself out on a grid: a spacer across its last row sets its least width.
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (grid) {
        grid->addItem(new QSpacerItem(BoxWidthForCaption(box.windowTitle()), 0,
                                      QSizePolicy::Minimum, QSizePolicy::Expanding),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
    box.exec();
}

}  // namespace

void QtDesktop::ShowMessage(const QString& text) {
    ShowBox(QMessageBox::NoIcon, text);
}

void QtDesktop::ShowErrorBox(const QString& text) {
    ShowBox(QMessageBox::Critical, text);
}

std::optional<QString> QtDesktop::ChooseOpenFile(QWidget* parent, const QString& lastName) {
    const QString dir = lastName.isEmpty() ? QString() : QFileInfo(lastName).absolutePath();
    const QString chosen = QFileDialog::getOpenFileName(parent, QString(), dir);
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen;
}

std::optional<QString> QtDesktop::ChooseSaveFile(QWidget* parent) {
    const QString chosen = QFileDialog::getSaveFileName(parent);
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen;
}

void QtDesktop::MessageBeep() {
    QApplication::beep();
}

QSize QtDesktop::ScreenSize() const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->size() : QSize();
}

std::string QtDesktop::ExeDir() const {
    const std::string exeDir = LocalPath(QCoreApplication::applicationDirPath() + u'/');
    const std::string folder = SettingsFolderFor(SettingsFolderFactsOf(exeDir));
    if (folder != exeDir)
        PrepareSettingsFolder(folder, SampleCatalogueFor(exeDir));
    return folder;
}

}  // namespace vortana
