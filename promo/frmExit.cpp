#include "promo/frmExit.h"

#include "promo/ExitBoxes.h"

#include "links/modHelp.h"
#include "promo/ExitScreenReaderNames.h"
#include "ui/Appearance.h"
#include "ui/ClickableLabel.h"
#include "ui/Keyboard.h"
#include "ui/Messages.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QShortcut>
#include <QVBoxLayout>

namespace {

QString boxText(const QObject* box) {
    if (const auto* line = qobject_cast<const QLineEdit*>(box)) {
        return line->text();
    }
    if (const auto* lines = qobject_cast<const QPlainTextEdit*>(box)) {
        return lines->toPlainText();
    }
    return {};
}

void setBoxText(QObject* box, const QString& text) {
    if (auto* line = qobject_cast<QLineEdit*>(box)) {
        line->setText(text);
    } else if (auto* lines = qobject_cast<QPlainTextEdit*>(box)) {
        lines->setPlainText(text);
    }
}

// Focus that moves between controls of the program; a window losing or regaining activation, or
// a popup menu, leaves the box as it is.
bool movesBetweenControls(const QFocusEvent* event) {
    return event->reason() != Qt::ActiveWindowFocusReason &&
           event->reason() != Qt::PopupFocusReason;
}

// Every box of the form holds at most this many characters: the referral address carries them
// all, and a longer text would only make the box slow to lay out.
constexpr int boxMaxLength = 2000;

QLineEdit* makeLine(QWidget* parent, const char* name, const QString& placeholder) {
    auto* box = new QLineEdit(placeholder, parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setMaxLength(boxMaxLength);
    return box;
}

} // namespace

frmExit::frmExit(QWidget* parent) : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("frmExit"));
    setWindowTitle(programTitle);
    // Unloading the window frees it; a topmost window that does not take the focus from the
    // window the user works in.
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_ShowWithoutActivating);

    auto* Label1 = MakeWrappedLabel(this, "Label1", programTitle);
    ShowAsTitle(Label1, 1.4);

    // A fresh draw each time the window is loaded.
    const double r = QRandomGenerator::global()->generateDouble();
    auto* Label2 = MakeWrappedLabel(this, "Label2", SupportMessage(SupportMessageIndex(r)));

    Check1 = new QCheckBox(
        QStringLiteral("Yes, take me to the Qorvex web community at %1").arg(MakerSiteText()),
        this);
    Check1->setObjectName(QStringLiteral("Check1"));
    connect(Check1, &QCheckBox::clicked, this, &frmExit::Check1_Click);
    OutlineIndicators({Check1}, this);

    auto* Frame2 = new QGroupBox(QStringLiteral("Refer A Friend"), this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    txtName = makeLine(Frame2, "txtName", referral::namePlaceholder);
    txtEmail = makeLine(Frame2, "txtEmail", referral::emailPlaceholder);
    txtMessage = new LimitedPlainTextEdit(referral::messagePlaceholder, boxMaxLength, Frame2);
    txtMessage->setObjectName(QStringLiteral("txtMessage"));
    txtMessage->setTabChangesFocus(true);
    txtMessage->setFixedHeight(txtName->sizeHint().height() * 3);
    txtFriendName = makeLine(Frame2, "txtFriendName", referral::friendNamePlaceholder);
    txtFriendEmail = makeLine(Frame2, "txtFriendEmail", referral::friendEmailPlaceholder);
    auto* cmdSubmit = new QPushButton(QStringLiteral("Refer A Friend &Now"), Frame2);
    cmdSubmit->setObjectName(QStringLiteral("cmdSubmit"));
    connect(cmdSubmit, &QPushButton::clicked, this, &frmExit::cmdSubmit_Click);

    for (QWidget* box : {static_cast<QWidget*>(txtName), static_cast<QWidget*>(txtEmail),
                         static_cast<QWidget*>(txtMessage), static_cast<QWidget*>(txtFriendName),
                         static_cast<QWidget*>(txtFriendEmail)}) {
        box->installEventFilter(this);
    }
    txtMessage->viewport()->installEventFilter(this);
    guardAgainstBlanks(txtEmail);
    guardAgainstBlanks(txtFriendEmail);

    auto* form = new QVBoxLayout(Frame2);
    form->addWidget(txtName);
    form->addWidget(txtEmail);
    form->addWidget(txtMessage);
    form->addWidget(txtFriendName);
    form->addWidget(txtFriendEmail);
    form->addWidget(cmdSubmit, 0, Qt::AlignRight);

    auto* Frame6 = new QGroupBox(QStringLiteral("Download More Programs From Qorvex"), this);
    Frame6->setObjectName(QStringLiteral("Frame6"));
    auto* Label3 = MakeWrappedLabel(
        Frame6, "Label3",
        QStringLiteral("Korvani is one of a whole family of Qorvex programs for the curious "
                       "mind: astrology charts and reports, psychic readings, tarot spreads, "
                       "numerology profiles and studies of the occult. Most of them are free to "
                       "download and use."));
    auto* lblGoToHome =
        MakePageLink(Frame6, QStringLiteral("lblGoToHome"),
                     QStringLiteral("Click here to see all our programs and download them today."),
                     WebPage::SoftwareCatalogue);
    auto* catalogue = new QVBoxLayout(Frame6);
    catalogue->addWidget(Label3);
    catalogue->addWidget(lblGoToHome);

    auto* Picture1 = new QLabel(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    ShowWithOutline(Picture1, RenderPicture(QStringLiteral(":/pictures/promo.svg"), QSize(96, 96)));
    Picture1->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    auto* cmdClose = new QPushButton(QStringLiteral("E&xit"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    connect(cmdClose, &QPushButton::clicked, this, &QWidget::close);
    // Ctrl+Q does what Exit does, as in the other windows.
    auto* quit = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), this);
    connect(quit, &QShortcut::activated, this, &QWidget::close);

    auto* side = new QVBoxLayout;
    side->addWidget(Picture1);
    side->addWidget(Frame6);
    side->addStretch(1);
    side->addWidget(cmdClose, 0, Qt::AlignRight);

    auto* main = new QVBoxLayout;
    main->addWidget(Label1);
    main->addWidget(Label2);
    main->addWidget(Check1);
    main->addWidget(Frame2);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(main, 3);
    layout->addLayout(side, 2);
    resize(640, 440);
    PressFocusedButtonOnEnter(this);
    // A larger desktop font makes the wrapped texts taller: room for all of them at this width.
    resize(width(), qMax(height(), layout->totalHeightForWidth(width())));
    ApplyAccessibleNames(*this, ScreenReaderNamesOfExitWindow());
}

QString frmExit::placeholderOf(const QObject* box) const {
    if (box == txtName) {
        return referral::namePlaceholder;
    }
    if (box == txtEmail) {
        return referral::emailPlaceholder;
    }
    if (box == txtMessage) {
        return referral::messagePlaceholder;
    }
    if (box == txtFriendName) {
        return referral::friendNamePlaceholder;
    }
    return referral::friendEmailPlaceholder;
}

bool frmExit::eventFilter(QObject* watched, QEvent* event) {
    if (refusing) {
        // The focus returns to a box whose refused edit is being undone: its text is not final.
        return QWidget::eventFilter(watched, event);
    }
    switch (event->type()) {
    case QEvent::FocusIn:
        if (movesBetweenControls(static_cast<QFocusEvent*>(event)) &&
            boxText(watched).trimmed() == placeholderOf(watched)) {
            setBoxText(watched, QString());
        }
        break;
    case QEvent::FocusOut:
        if (movesBetweenControls(static_cast<QFocusEvent*>(event)) &&
            boxText(watched).trimmed().isEmpty()) {
            setBoxText(watched, placeholderOf(watched));
        }
        break;
    case QEvent::Drop: {
        // Dropped text takes the place of the placeholder, as typed text would. The message box
        // takes its drops on its viewport.
        QObject* box = watched == txtMessage->viewport() ? txtMessage : watched;
        if (boxText(box).trimmed() == placeholderOf(box)) {
            setBoxText(box, QString());
        }
        break;
    }
    case QEvent::KeyPress:
        if ((watched == txtEmail || watched == txtFriendEmail) &&
            static_cast<QKeyEvent*>(event)->text().contains(u' ')) {
            refuseBlank(static_cast<QWidget*>(watched));
            return true;
        }
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void frmExit::refuseBlank(QWidget* box) {
    refusing = true;
    ShowMessage(MessageIcon::Error, emailBlankMessage, this);
    box->setFocus(Qt::OtherFocusReason);
    refusing = false;
}

void frmExit::guardAgainstBlanks(QLineEdit* box) {
    // Typed blanks never reach the box (see eventFilter). Pasted, dropped and composed text is
    // checked by the box's validator, and the box undoes a refused edit by itself.
    auto* refusal = new BlankRefusal(box);
    box->setValidator(refusal);
    connect(refusal, &BlankRefusal::refused, this, [this, box] { refuseBlank(box); });
}

void frmExit::Check1_Click(bool ticked) {
    if (!ticked) {
        return;
    }
    Check1->setChecked(false);
    openWebPage(WebPage::HomePage);
}

void frmExit::cmdSubmit_Click() {
    referral = ReferralFromBoxes(txtName->text(), txtEmail->text(), txtMessage->toPlainText(),
                                 txtFriendName->text(), txtFriendEmail->text());
    if (const auto fault = EmailFault(referral)) {
        ShowMessage(MessageIcon::Error, *fault, this);
        return;
    }
    submitReferral();
}

void frmExit::submitReferral() {
    if (const auto fault = MissingFieldFault(referral)) {
        ShowMessage(MessageIcon::Error, *fault, this);
        return;
    }
    OpenAddress(ReferralAddress(referral));
}

void frmExit::closeEvent(QCloseEvent* event) {
    event->accept();
    emit closed(); // closing this window, by button or close box, ends the program
}
