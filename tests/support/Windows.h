#pragma once

#include <QApplication>
#include <QEvent>
#include <QLineEdit>
#include <QString>
#include <QTest>
#include <QWidget>

#include <utility>

// The program's top-level window of that name and type, or null. Tests find windows the way a
// user meets them; the program itself never looks a window up.
template <typename Window = QWidget>
Window* FindWindow(const char* name) {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == QLatin1String(name)) {
            if (auto* window = qobject_cast<Window*>(widget)) {
                return window;
            }
        }
    }
    return nullptr;
}

// Whether a window of that name is on screen.
inline bool IsShown(const char* name) {
    const QWidget* window = FindWindow(name);
    return window && window->isVisible();
}

// Deletes what closing has unloaded.
inline void DeleteUnloadedWindows() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Types the New Delhi birth of 1990 into the input window's boxes (the lists keep their
// defaults), as a user would.
inline void TypeDelhiEntries(QWidget& input) {
    const std::pair<const char*, const char*> entries[] = {{"txtName", "asha"},
                                                           {"txtLonD", "77"},
                                                           {"txtLonM", "13"},
                                                           {"txtLatD", "28"},
                                                           {"txtLatM", "39"}};
    for (const auto& [box, text] : entries) {
        QTest::keyClicks(input.findChild<QLineEdit*>(QLatin1String(box)), QLatin1String(text));
    }
}
