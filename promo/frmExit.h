#pragma once

#include "promo/Referral.h"

#include <QWidget>

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;

// The exit promotion window: the last window of every run. Closing it in any way ends the
// program through closeAllAndEnd().
class frmExit : public QWidget {
    Q_OBJECT
  public:
    explicit frmExit(QWidget* parent = nullptr);

    // Checks the referral record for missing fields and opens the referral address.
    void submitReferral();

    // The form as last submitted.
    const ReferralRecord& referralRecord() const { return referral; }

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void cmdSubmit_Click();
    void Check1_Click(bool ticked);
    void refuseBlank(QWidget* box);
    void guardAgainstBlanks(QLineEdit* box);
    QString placeholderOf(const QObject* box) const;

    QLineEdit* txtName = nullptr;
    QLineEdit* txtEmail = nullptr;
    QPlainTextEdit* txtMessage = nullptr;
    QLineEdit* txtFriendName = nullptr;
    QLineEdit* txtFriendEmail = nullptr;
    QCheckBox* Check1 = nullptr;
    ReferralRecord referral;
    bool refusing = false; // a refused edit is being reported
};

// The one exit promotion window, created hidden on first use.
frmExit* exitWindow();

// Shows the exit promotion window without making it modal, creating it on first use.
void showExitWindow();

// Hides the exit promotion window, creating it hidden if it is not there yet.
void hideExitWindow();
