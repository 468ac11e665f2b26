#include "app/frmAbout.h"

#include "app/ScreenReaderNames.h"
#include "links/modHelp.h"
#include "ui/Appearance.h"
#include "ui/ClickableLabel.h"
#include "ui/Keyboard.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

frmAbout::frmAbout(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(programTitle);
    setModal(true);

    auto* picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    ShowWithOutline(picIcon,
                    RenderPicture(QStringLiteral(":/pictures/korvani.svg"), QSize(64, 64)));
    picIcon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    auto* Label2 = MakeWrappedLabel(this, "Label2", programTitle);
    ShowAsTitle(Label2, 1.3);

    auto* Label1 = MakeWrappedLabel(
        this, "Label1",
        QStringLiteral("Korvani calculates the decanate sign in which the different planets of "
                       "your natal chart are placed in based on Vedic Astrology. Each zodiac sign "
                       "is divided into three decanates of ten degrees each. These decanates "
                       "influence the finer attributes of an individual's personality."));
    auto* lblHomePage =
        MakePageLink(this, QStringLiteral("lblHomePage"),
                     QStringLiteral("Click here to visit ") + MakerSiteText(), WebPage::HomePage);
    auto* Label3 = MakeWrappedLabel(
        this, "Label3",
        QStringLiteral("Home Business Opportunity. Start your own Internet business and make "
                       "money online. Get this software fully branded for your website."));
    auto* lblCoBrand =
        MakePageLink(this, QStringLiteral("lblCoBrand"),
                     QStringLiteral("Click here for more details."), WebPage::CoBrand);

    auto* lblLicence = MakeWrappedLabel(
        this, "lblLicence",
        QStringLiteral("Korvani is free software under the GNU General Public License, version 3 "
                       "or later. Its precise engine, loaded only when chosen, runs with the "
                       "Swiss Ephemeris of Astrodienst (libswe, GNU Affero General Public "
                       "License, version 3), a combination that section 13 of the GNU General "
                       "Public License, version 3, permits."));

    auto* Line2 = new QFrame(this);
    Line2->setObjectName(QStringLiteral("Line2"));
    Line2->setFrameShape(QFrame::HLine);
    Line2->setFrameShadow(QFrame::Sunken);

    auto* cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);

    auto* texts = new QVBoxLayout;
    texts->addWidget(Label2);
    texts->addWidget(Label1);
    texts->addWidget(lblHomePage);
    texts->addSpacing(8);
    texts->addWidget(Label3);
    texts->addWidget(lblCoBrand);
    texts->addSpacing(8);
    texts->addWidget(lblLicence);

    auto* top = new QHBoxLayout;
    top->addWidget(picIcon, 0, Qt::AlignTop);
    top->addLayout(texts, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(Line2);
    layout->addLayout(buttons);
    // A fixed width; the height that the wrapped texts need at that width.
    constexpr int width = 440;
    setFixedSize(width, layout->totalHeightForWidth(width));
    PressFocusedButtonOnEnter(this); // Escape closes the window, as in every dialog
    ApplyAccessibleNames(*this, ScreenReaderNamesOfAboutWindow());
}

void ShowAboutWindow(QWidget* owner) {
    frmAbout about(owner);
    about.exec();
}
