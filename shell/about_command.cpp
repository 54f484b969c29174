// Command 422: the About box of the ostrel_about library, filled with the program's texts and
// its Credits and Feedback actions.
#include "about/ostrel_about.h"
#include "core/messages.h"
#include "core/product.h"
#include "feedback/feedback.h"
#include "resources/resource.h"
#include "shell/main_dialog_internal.h"

void ShowAboutBox(AppState* state)
{
    OSTRELABOUT about = {};
    about.dwFlags = 0;  // the box takes the main dialog's small icon
    about.hwndOwner = state->dialog;
    about.pszCompany = PRODUCT_COMPANY;
    about.pszProgram = PRODUCT_TITLE;
    // From the string table: its text is Unicode, which the system hands over in the program's
    // code page (a byte of one code page in the source would be a broken character in another).
    char copyright[MESSAGE_TEXT_SIZE];
    LoadMessageText(state->instance, IDS_COPYRIGHT, copyright);
    about.pszCopyright = copyright;
    about.pszLicense = PRODUCT_LICENSE;
    about.pszVersion = PRODUCT_VERSION;
    about.pszReleaseDate = PRODUCT_RELEASE_DATE;
    about.pszProductUrl = PRODUCT_PAGE_URL;
    about.pszHomeUrl = COMPANY_HOME_URL;
    about.pfnCredits = ShowCredits;
    about.pfnFeedback = SendFeedback;
    about.hIcon = nullptr;
    if (!OstrelAbout(&about))
        ShowErrorMessage(state->instance, state->dialog, IDS_ABOUT_ERROR);
}
