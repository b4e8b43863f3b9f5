// The main window's Language and BitTorrent buttons (created hidden; complete all the same).
#pragma once

#include "access/access_host.h"

namespace ofu {

void OnLanguage(AccessHost& host);
void OnBitTorrent(AccessHost& host);

// Whether the BitTorrent installation may start on the chosen device: 1 when its disk is ready
// and its firmware takes the add-on, 0 after the user has been told why not.
int CheckBitTorrentReady(AccessHost& host);

}  // namespace ofu
