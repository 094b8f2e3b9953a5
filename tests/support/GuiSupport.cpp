#include "support/GuiSupport.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace korven::test {

void whenModalOpens(std::function<void(QWidget*)> action) {
    QPointer<QWidget> before = QApplication::activeModalWidget();
    auto* timer = new QTimer;
    auto tries = std::make_shared<int>(0);
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, tries, before, action] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal != before) {
            timer->stop();
            timer->deleteLater();
            action(modal);
        } else if (++*tries > 250) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start();
}

void screenshot(QWidget* window, const QString& name) {
    const QString dir = qEnvironmentVariable("KORVEN_SCREENSHOT_DIR");
    if (dir.isEmpty() || !window) return;
    QDir().mkpath(dir);
    window->grab().save(QDir(dir).filePath(name + QStringLiteral(".png")));
}

} // namespace korven::test
