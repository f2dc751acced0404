// "Print" and "Print Preview" of the window. Printing the device list from the window is not
// built yet; the CLI's print command prints it.
#include "core/app/sonquill_dlg.h"

namespace songloader {

void CSonquillDlg::OnPrint() {
    RunCommand([] {});
}

void CSonquillDlg::OnPrintPreview() {
    RunCommand([] {});
}

}  // namespace songloader
