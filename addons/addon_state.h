// The process-wide record through which the add-on dialogs pass their outcome to each other:
// no add-on dialog returns a value that its caller reads. Every field is zero at start and is
// touched on the user-interface thread only.
#pragma once

#include <cstdint>

namespace ofu {

struct AddOnStateRecord {
    // 1 while a BitTorrent installation is requested: the loading dialog's timer id.
    std::int32_t InstallMode = 0;
    // The chosen entry of the Language dialog, 0 to 8.
    std::int32_t SelectedCodepageIndex = 0;
    // The codepage number as text ("950"), chosen by the installation.
    const char* CodepageName = nullptr;
    // 1 when the last payload write did not arrive, 0 when it did.
    std::int32_t LastCopyFailed = 0;
    // 1 after a successful BitTorrent run.
    std::int32_t BitTorrentInstalled = 0;
    // 0 after a restart wait ran to its end, -1 after a setup was cancelled or refused; never
    // reset when a setup begins.
    std::int32_t RestartOutcome = 0;
    // 1 when the device also takes the codepages 865, 852 and 857.
    std::int32_t ExtendedCodepages = 0;
};

extern AddOnStateRecord AddOnState;

}  // namespace ofu
