// Resource and control ids shared by the resource scripts and the code.
#pragma once

// Icons
#define IDI_PROGRAM 100
#define IDI_NOT_WEBSAFE 101

// Cursors
#define IDC_GRAB_CURSOR 150

// Bitmaps: slider arrow markers
#define IDB_ARROW_LEFT 200
#define IDB_ARROW_RIGHT 201

// Message strings
#define IDS_DIALOG_ERROR 300
#define IDS_CLIPBOARD_ERROR 301
#define IDS_OUT_OF_MEMORY 302
#define IDS_COMMCTRL_ERROR 303
#define IDS_ABOUT_ERROR 304
#define IDS_ADD_COLOR_ERROR 305
#define IDS_DRAWDIB_ERROR 306
#define IDS_SCREEN_DC_ERROR 307
#define IDS_GRABBER_ERROR 308
#define IDS_FLATCOLOR_ERROR 309
#define IDS_REGISTER_MSG_ERROR 310
#define IDS_NO_COLOR_SELECTED 350
#define IDS_RANGE_255 351
#define IDS_RANGE_360 352
#define IDS_RANGE_100 353
#define IDS_RANGE_HEX 354
#define IDS_CLIPBOARD_NO_COLOR 355
#define IDS_PICK_KEY_TAKEN 356

// Dialogs
#define IDD_MAIN 400
#define IDD_SETTINGS_PAGE 500
#define IDD_FORMATS_PAGE 530
#define IDD_FORMAT_EDIT 540

// Main dialog controls (their ids double as tool-tip string and icon ids)
#define IDC_FIELD 401
#define IDC_WEBSAFE_MARK 402
#define IDC_CURRENT_SWATCH 403
#define IDC_RED_SWATCH 404
#define IDC_GREEN_SWATCH 405
#define IDC_BLUE_SWATCH 406
#define IDC_MODE_RED 407
#define IDC_MODE_GREEN 408
#define IDC_MODE_BLUE 409
#define IDC_MODE_HUE 410
#define IDC_MODE_SATURATION 411
#define IDC_MODE_BRIGHTNESS 412
#define IDC_RED_EDIT 413
#define IDC_GREEN_EDIT 414
#define IDC_BLUE_EDIT 415
#define IDC_HUE_EDIT 416
#define IDC_SATURATION_EDIT 417
#define IDC_BRIGHTNESS_EDIT 418
#define IDC_HEX_EDIT 419
#define IDC_COPY_HEX 421
#define IDC_ABOUT 422
#define IDC_HELP_BUTTON 424
#define IDC_SLIDER 425
#define IDC_STAY_ON_TOP 426
#define IDC_WEBSAFE_SWATCH 427
#define IDC_COLORS 429
#define IDC_SAVED_LIST 430
#define IDC_SAVED_ADD 431
#define IDC_SAVED_DELETE 432
#define IDC_SAVED_OVERWRITE 433
#define IDC_SAVED_LOAD 434
#define IDC_GRAB 435
#define IDC_SETTINGS 436
#define IDC_NAMED_LIST 437
#define IDC_NAMED_LOAD 438
#define IDC_NAMED_FIND 439
#define IDC_NAMED_COPY 440
#define IDC_BACKGROUND_SWATCH 441
#define IDC_CONTRAST_RATIO 442
#define IDC_CONTRAST_GRADE 443

// Settings page check boxes
#define IDC_OPT_REALTIME 501
#define IDC_OPT_UPPERCASE 502
#define IDC_OPT_PREFIX 503
#define IDC_OPT_NAMED_LOWER 504
#define IDC_OPT_STATUS_ICON 505
#define IDC_OPT_DISPLAY_HEX 506
#define IDC_OPT_FREEZE_GRAB 507
#define IDC_PICK_KEY 508
#define IDC_PICK_KEY_WIN 509
#define IDC_PICK_KEY_STATE 510
#define IDC_OPT_COPY_ON_PICK 511

// Settings page "Formats"
#define IDC_COPY_FORMAT 520
#define IDC_FORMAT_LIST 521
#define IDC_FORMAT_ADD 522
#define IDC_FORMAT_EDIT 523
#define IDC_FORMAT_REMOVE 524

// A format's edit dialog
#define IDC_FORMAT_NAME 541
#define IDC_FORMAT_TEMPLATE 542
#define IDC_FORMAT_EXAMPLE 543
#define IDC_FORMAT_PROBLEM 544

#define IDS_FORMAT_NO_NAME 357
#define IDS_FORMAT_BAD_PLACEHOLDER 358
#define IDS_FORMAT_EXAMPLE 359
#define IDS_FORMAT_HEX 360
#define IDS_NO_AA_COLOR 361
#define IDS_NO_AAA_COLOR 362
#define IDS_CONTRAST_PASS 363
#define IDS_CONTRAST_FAIL 364

// Swatch popup menu items (also their string ids)
#define IDM_COPY 600
#define IDM_COPY_WITH_PREFIX 601
#define IDM_COPY_WITHOUT_PREFIX 602
#define IDM_COPY_CSS_RGB 603
#define IDM_COPY_CSS_HSL 604
#define IDM_COPY_WIN32_RGB 605
#define IDM_COPY_COLORREF 606
#define IDM_PASTE 607
// Added by the main dialog: the background's items
#define IDM_USE_AS_BACKGROUND 608
#define IDM_SWAP_WITH_CURRENT 609
#define IDM_NEAREST_AA 610
#define IDM_NEAREST_AAA 611
// Also the ids of the forms they copy in (color/color_forms.h)
#define IDM_COPY_OKLCH 612
#define IDM_COPY_OKLAB 613
#define IDM_COPY_LAB 614
#define IDM_COPY_LCH 615
#define IDM_COPY_HWB 616
#define IDM_COPY_COLOR_SRGB 617
#define IDM_COPY_HSB 618
#define IDM_COPY_CMYK 619
#define IDM_COPY_FLOAT_TRIPLE 620
#define IDM_COPY_INTEGER 621
// The user's formats, 640 onwards in list order
#define IDM_COPY_CUSTOM_FIRST 640
#define IDM_COPY_CUSTOM_LAST 659

// The status icon's menu
#define IDM_PICK_COLOR 700
#define IDM_SHOW_TINTORA 701
#define IDM_EXIT 702
