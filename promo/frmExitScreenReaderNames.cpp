#include "promo/ExitScreenReaderNames.h"

AccessibleNames ScreenReaderNamesOfExitWindow() {
    return {
        {"Check1", {}, "Opens the Qorvex web community in the web browser"},
        {"txtName", "Your name", "Refer A Friend: your name"},
        {"txtEmail", "Your email address", "Refer A Friend: your email address, without spaces"},
        {"txtMessage", "Your message", "Refer A Friend: the message your friend receives"},
        {"txtFriendName", "Friend's name", "Refer A Friend: your friend's name"},
        {"txtFriendEmail", "Friend's email address",
         "Refer A Friend: your friend's email address, without spaces"},
        {"cmdSubmit", "Refer A Friend Now",
         "Opens the refer-a-friend page with these details in the web browser"},
        {"lblGoToHome", {}, "Link: opens the list of Qorvex programs in the web browser"},
        {"Picture1", "Qorvex programs", "Three program boxes under a starry sky"},
        {"cmdClose", "Exit", "Closes the program"},
    };
}
