#include "ui/AccessibleNames.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QDebug>
#include <QWidget>

namespace {

// A list as a screen reader meets it: its name, then its value. Qt on Linux names a list by its
// current value and leaves its caption to a label relation, which lists without a caption of
// their own lack; so a list that was given a name reads it, whatever the platform.
class NamedListAccessible : public QAccessibleWidget {
  public:
    explicit NamedListAccessible(QComboBox* list)
        : QAccessibleWidget(list, QAccessible::ComboBox) {}

    QString text(QAccessible::Text kind) const override {
        switch (kind) {
        case QAccessible::Name:
            return list()->accessibleName().isEmpty() ? list()->currentText()
                                                      : list()->accessibleName();
        case QAccessible::Value:
            return list()->currentText();
        default:
            return QAccessibleWidget::text(kind);
        }
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.expandable = true;
        state.expanded = list()->view() && list()->view()->isVisible();
        return state;
    }

    QStringList actionNames() const override { return {showMenuAction(), pressAction()}; }

    void doAction(const QString& action) override {
        if (action == showMenuAction() || action == pressAction()) {
            list()->showPopup();
        }
    }

  private:
    QComboBox* list() const { return static_cast<QComboBox*>(widget()); }
};

QAccessibleInterface* NamedListFactory(const QString& className, QObject* object) {
    if (className != QLatin1String("QComboBox")) {
        return nullptr;
    }
    auto* list = qobject_cast<QComboBox*>(object);
    if (!list || list->isEditable() || list->accessibleName().isEmpty()) {
        return nullptr; // Qt's own reading serves
    }
    return new NamedListAccessible(list);
}

} // namespace

QStringList ApplyAccessibleNames(QWidget& window, const AccessibleNames& names) {
    static const bool listsReadTheirNames = [] {
        QAccessible::installFactory(NamedListFactory);
        return true;
    }();
    Q_UNUSED(listsReadTheirNames);

    QStringList missing;
    for (const AccessibleName& entry : names) {
        auto* control = window.findChild<QWidget*>(entry.objectName);
        if (!control) {
            missing << entry.objectName;
            continue;
        }
        if (!entry.name.isEmpty()) {
            control->setAccessibleName(entry.name);
        }
        if (qobject_cast<QComboBox*>(control)) {
            // Filling a list already made Qt's reading of it; it is made afresh, as a named list.
            if (QAccessibleInterface* made = QAccessible::queryAccessibleInterface(control)) {
                QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
            }
        }
        if (!entry.description.isEmpty()) {
            control->setAccessibleDescription(entry.description);
        }
    }
    if (!missing.isEmpty()) {
        qWarning() << window.objectName() << "has no controls named" << missing;
    }
    return missing;
}
