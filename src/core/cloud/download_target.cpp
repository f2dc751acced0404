// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/cloud/download_target.h"

namespace songloader {

Result<> DownloadTarget::Commit() {
    Result<> committed = file_.Commit();
    // Once renamed the new file is in place: a folder flush that fails after that does not undo it.
    if (!committed && file_.published()) return {};
    return committed;
}

}  // namespace songloader
