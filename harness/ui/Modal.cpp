#include "harness/ui/Modal.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

namespace vortana {

void WhenModalShown(std::function<void(QWidget*)> look) {
    auto* poll = new QTimer;
    poll->setInterval(1);
    QObject::connect(poll, &QTimer::timeout, [poll, look] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr)
            return;
        poll->stop();
        poll->deleteLater();
        look(modal);
        modal->close();
    });
    poll->start();
}

}  // namespace vortana
