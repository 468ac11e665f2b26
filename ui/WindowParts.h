#pragma once

#include <QString>

class ClickableLabel;
class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QWidget;

// The three offers that the input and result windows both carry, each a label that opens its
// page when clicked.
enum class Offer {
    Banner,    // Label61: the maker's discussion board, opens the home page
    CoBrand,   // lblCobrand: co-branding, opens the co-brand page
    FullBrand, // lblFullBrand: the fully branded program, opens the fully-branded page
};

// The offer's caption as stored, where "&&" stands for one ampersand.
QString OfferCaption(Offer offer);

// The caption as the user reads it: "&&" shown as one "&".
QString OfferText(Offer offer);

// The offer's label, named and in the link colour, `pointSize` points high. The banner is bold,
// centred and on one line; the other offers wrap.
ClickableLabel* MakeOfferLabel(QWidget* parent, Offer offer, qreal pointSize);

// A label in the labels' 9-point font (LabelFont), named `objectName`, showing `text` as plain
// text.
QLabel* MakePlainLabel(QWidget* parent, const QString& objectName, const QString& text,
                       bool bold = false);

// The File menu of the input and result windows, empty, named mnuFile.
QMenu* AddFileMenu(QMenuBar* bar);

// The File menu's last item, "E&xit" (mnuExit), with Ctrl+Q; the window connects it.
QAction* AddExitItem(QMenu* file);

// The Tools menu of the input and result windows (mnuTools) with its one item, "&Calculation
// Settings…" (mnuSettings), which is returned for the window to connect.
QAction* AddToolsMenu(QMenuBar* bar);

// The two windows' Help menu differs only in one caption and in its separators' names.
struct HelpMenuNames {
    QString updateCaption;       // "Check for Software &Update" or "&Check for Software Update"
    const char* firstSeparator;  // between Visit and Update
    const char* secondSeparator; // between Update and About
};

// Adds the Help menu (Online Help, Visit Us Online, Check for Software Update, About Software),
// then the Donate and Make Money Online items that act straight from the menu bar. Every item
// but About opens its page; the About item is returned for the window to connect.
QAction* AddHelpAndOfferMenus(QMenuBar* bar, const HelpMenuNames& names);
