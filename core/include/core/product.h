// Names that identify the product to the user and to other copies of it. Read by the resource
// scripts too, so it holds nothing but names.
#pragma once

#include "version/tintora_version.h"  // PRODUCT_VERSION

#define PRODUCT_TITLE "Ostrel Tintora"  // dialog title, message-box caption, status tip
// A second start and other programs reach the running copy's window with this message.
#define INSTANCE_MESSAGE_NAME PRODUCT_TITLE
#define INSTANCE_MUTEX_NAME "Ostrel_Tintora"

// What the About box shows; the two addresses are the maker's pages.
#define PRODUCT_COMPANY "Ostrel"
#define PRODUCT_RELEASE_DATE "May 28 2001"
#define PRODUCT_LICENSE "Freeware. Provided as is, without any warranty."
#define PRODUCT_PAGE_URL "http://www.ostrel.example/tintora/"
#define COMPANY_HOME_URL "http://www.ostrel.example/"
// The version resources' copyright line, as the file properties have always shown it.
#define PRODUCT_LEGAL_COPYRIGHT "Copyright (C) 2001 " PRODUCT_COMPANY
