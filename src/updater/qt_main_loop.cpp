#include "qt_main_loop.hpp"

#include <QCoreApplication>
#include <QEventLoop>
#include <QMetaObject>

#include <utility>

namespace solv {

void QtMainLoop::Post(std::function<void()> task) {
  QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(task), Qt::QueuedConnection);
}

void QtMainLoop::WaitUntil(const std::function<bool()>& done) {
  while (!done()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

}  // namespace solv
