#pragma once

#include "links/modHelp.h"

class QLabel;

// Makes a label behave as a link: a left click on it opens the page in the default browser.
void openPageOnClick(QLabel* label, WebPage page);
