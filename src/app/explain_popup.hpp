// "Skąd ta kwota?": a small window in the balloons' look with the
// explanation of a box; each box it names is a link.
#pragma once

#include <QPoint>
#include <QString>
#include <functional>
#include <string>

class QWidget;

namespace solv::app {

// Shows the explanation of box key of instance section at globalAt, owned by
// owner. A click on a link closes it and runs onLink with the link
// ("PIT37b#p39"); Escape or a click outside closes it.
QWidget* ShowExplanation(QWidget& owner, const QPoint& globalAt, const std::string& section, const std::string& key,
                         std::function<void(const QString& link)> onLink);

// The popup shown now, or nullptr.
QWidget* ExplanationPopup();

}  // namespace solv::app
