// How many GDI objects a module made and deleted, counted through its own
// import table (Wine does not answer GetGuiResources). Creations are the
// device contexts, bitmaps, pens, brushes, regions and loaded images the module asked for and got;
// deletions are DeleteDC, DeleteObject and DestroyIcon calls that succeeded.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "hosts/dihost/ImportPatch.h"

namespace paneltest {

class GdiLedger {
public:
    GdiLedger() = default;
    ~GdiLedger() { Detach(); }
    GdiLedger(const GdiLedger&) = delete;
    GdiLedger& operator=(const GdiLedger&) = delete;

    // Counts from now on; false when the module imports none of the calls.
    bool Attach(HMODULE module, std::string* error);
    void Detach();

    long Created() const;
    long Deleted() const;
    long Live() const { return Created() - Deleted(); }

private:
    std::vector<std::unique_ptr<padhost::ImportPatch>> patches_;
};

// Every sound file name a module asked sndPlaySoundA to play.
class SoundLog {
public:
    ~SoundLog() { Detach(); }
    bool Attach(HMODULE module, std::string* error);
    void Detach() { patch_.Restore(); }
    std::vector<std::string> Played() const;
    void Clear();

private:
    padhost::ImportPatch patch_;
};

}  // namespace paneltest
