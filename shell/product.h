// Names that identify the product to the user and to other copies of it.
#pragma once

#define PRODUCT_TITLE "Ostrel Tintora"      // dialog title, message-box caption, status tip, message name
#define INSTANCE_MUTEX_NAME "Ostrel_Tintora"
