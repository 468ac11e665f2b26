#include "ui/Messages.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// The real message box, not the seam the other tests replace: its icon, caption, text and its
// one OK button, as the user sees them.
TEST(MessageBox, ShowsItsIconCaptionTextAndOnlyOk) {
    struct Row {
        MessageIcon icon;
        QMessageBox::Icon shown;
    };
    for (const Row& row : {Row{MessageIcon::Error, QMessageBox::Critical},
                           Row{MessageIcon::Information, QMessageBox::Information}}) {
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QString caption;
        QString text;
        int buttons = 0;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr) << "no message box is open";
            icon = box->icon();
            caption = box->windowTitle();
            text = box->text();
            buttons = static_cast<int>(box->buttons().size());
            box->button(QMessageBox::Ok)->click();
        });
        ShowMessage(row.icon, QStringLiteral("Please Enter Name")); // returns when closed
        EXPECT_EQ(icon, row.shown) << "icon " << static_cast<int>(row.icon);
        EXPECT_EQ(caption, "Korvani");
        EXPECT_EQ(text, "Please Enter Name");
        EXPECT_EQ(buttons, 1);
    }
}

} // namespace
