// Resource and control ids of the About box library's own resources.
#pragma once

// Dialogs
#define IDD_ABOUT 500

// About dialog controls
#define IDC_ABOUT_PROGRAM 501
#define IDC_ABOUT_COPYRIGHT 502
#define IDC_ABOUT_LINK 503
#define IDC_ABOUT_LICENSE 504
#define IDC_ABOUT_VERSION 505
#define IDC_ABOUT_RELEASE_DATE 506
#define IDC_ABOUT_OS 507
#define IDC_ABOUT_OS_VERSION 508
#define IDC_ABOUT_IE_VERSION 509
#define IDC_ABOUT_CREDITS 510
#define IDC_ABOUT_FEEDBACK 511
#define IDC_ABOUT_HOMEPAGE 512
