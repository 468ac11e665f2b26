#include "ui/WindowParts.h"

#include "links/modHelp.h"
#include "ui/ClickableLabel.h"
#include "ui/DisplayFonts.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>

namespace {

struct OfferDefinition {
    const char* objectName;
    WebPage page;
};

OfferDefinition Definition(Offer offer) {
    switch (offer) {
    case Offer::Banner:
        return {"Label61", WebPage::HomePage};
    case Offer::CoBrand:
        return {"lblCobrand", WebPage::CoBrand};
    case Offer::FullBrand:
        return {"lblFullBrand", WebPage::FullyBranded};
    }
    return {"", WebPage::HomePage};
}

QAction* AddPageItem(QMenu* menu, const char* name, const QString& caption, WebPage page) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    QObject::connect(action, &QAction::triggered, action, [page] { openWebPage(page); });
    return action;
}

} // namespace

QString OfferCaption(Offer offer) {
    switch (offer) {
    case Offer::Banner:
        return QStringLiteral("Visit the Qorvex astrology discussion board at %1 - click here")
            .arg(MakerSiteText());
    case Offer::CoBrand:
        return QStringLiteral(
            "Co-brand this software for your site.  Increase loyalty and traffic to your site. "
            "Put your site's name &&  link here. See \"Help\" for details.    Click Here for "
            "more info on co-branding.");
    case Offer::FullBrand:
        return QStringLiteral(
            "Home Business Opportunity. Start your own Internet business and make money online. "
            "Get this software fully branded for your website. Click here for more details.");
    }
    return {};
}

QString OfferText(Offer offer) {
    QString text = OfferCaption(offer);
    text.replace(QStringLiteral("&&"), QStringLiteral("&"));
    return text;
}

ClickableLabel* MakeOfferLabel(QWidget* parent, Offer offer, qreal pointSize) {
    const OfferDefinition definition = Definition(offer);
    ClickableLabel* label = MakePageLink(parent, QString::fromLatin1(definition.objectName),
                                         OfferText(offer), definition.page);
    const bool banner = offer == Offer::Banner;
    label->setFont(LabelFont(pointSize, banner));
    if (banner) {
        label->setWordWrap(false);
        label->setAlignment(Qt::AlignCenter);
    }
    return label;
}

QMenu* AddFileMenu(QMenuBar* bar) {
    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    file->menuAction()->setObjectName(QStringLiteral("mnuFileAction"));
    return file;
}

QAction* AddToolsMenu(QMenuBar* bar) {
    QMenu* tools = bar->addMenu(QStringLiteral("&Tools"));
    tools->setObjectName(QStringLiteral("mnuTools"));
    tools->menuAction()->setObjectName(QStringLiteral("mnuToolsAction"));
    QAction* settings = tools->addAction(QStringLiteral("&Calculation Settings\u2026"));
    settings->setObjectName(QStringLiteral("mnuSettings"));
    return settings;
}

QAction* AddExitItem(QMenu* file) {
    QAction* exitItem = file->addAction(QStringLiteral("E&xit"));
    exitItem->setObjectName(QStringLiteral("mnuExit"));
    exitItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    return exitItem;
}

QAction* AddHelpAndOfferMenus(QMenuBar* bar, const HelpMenuNames& names) {
    QMenu* help = bar->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    help->menuAction()->setObjectName(QStringLiteral("mnuHelpAction"));
    AddPageItem(help, "mnuOnline", QStringLiteral("&Online Help"), WebPage::OnlineHelp)
        ->setShortcut(QKeySequence(Qt::Key_F1));
    AddPageItem(help, "mnuVisit", QStringLiteral("&Visit Us Online"), WebPage::HomePage);
    help->addSeparator()->setObjectName(QLatin1String(names.firstSeparator));
    AddPageItem(help, "mnuUpdate", names.updateCaption, WebPage::Download);
    help->addSeparator()->setObjectName(QLatin1String(names.secondSeparator));
    QAction* about = help->addAction(QStringLiteral("&About Software"));
    about->setObjectName(QStringLiteral("mnuAbout"));

    // Two items that act straight from the menu bar, without a drop-down.
    const auto addBarItem = [bar](const char* name, const QString& caption, WebPage page) {
        QAction* action = bar->addAction(caption);
        action->setObjectName(QLatin1String(name));
        QObject::connect(action, &QAction::triggered, action, [page] { openWebPage(page); });
    };
    addBarItem("mnuDonate", QStringLiteral("&Donate"), WebPage::Donate);
    addBarItem("mkmoney", QStringLiteral("Make Money &Online"), WebPage::FullyBranded);
    return about;
}

QLabel* MakePlainLabel(QWidget* parent, const QString& objectName, const QString& text, bool bold) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(objectName);
    label->setFont(LabelFont(9, bold));
    label->setTextFormat(Qt::PlainText);
    return label;
}
