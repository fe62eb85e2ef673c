#include "app/AboutDialog.h"

#include "resource.h"

AboutDialog::AboutDialog() : CDialog(IDD_ABOUTBOX) {}
