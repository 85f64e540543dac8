#include "shell/toolkit/QtTranslation.h"

#include <QCoreApplication>
#include <QTranslator>

#include "shell/toolkit/SystemToolkit.h"

namespace vortana {
namespace {

constexpr char kQtCatalogue[] = "qtbase_zh_CN";

}  // namespace

bool InstallQtTranslation(QCoreApplication& application) {
    auto* translator = new QTranslator(&application);
    if (!translator->load(kQtCatalogue, QtCatalogueFolder())) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

}  // namespace vortana
