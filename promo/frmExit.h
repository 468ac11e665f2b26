#pragma once

#include "promo/Referral.h"

#include <QWidget>

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;

// The exit promotion window: the last window of every run. Closing it in any way (Exit or the
// close box) tells its owner, which ends the program.
class frmExit : public QWidget {
    Q_OBJECT
  public:
    explicit frmExit(QWidget* parent = nullptr);

    // Checks the referral record for missing fields and opens the referral address.
    void submitReferral();

  signals:
    void closed();

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
