#pragma once
// Bounds the refill's tries. A failed load is forgotten and another file is taken; when the
// catalogue runs dry a new pass begins, and with the memory option on that pass comes from a
// fresh scan, which brings the failed files back. If no file of the folders can be loaded
// the tries would never end, so they end when a whole pass has gone by without one file
// loading. The next refill tries again, a pass at most: files that come back (a drive
// plugged in again) are shown as soon as they load.
//
// Use in the refill's loop:
//     do {
//         PickNextFile();
//         loaded = <load CurFile>;
//         if (loaded) LoadWatch.Loaded(); else ForgetFile(CurFile);
//         bool barren = false;
//         if (ToSeeFiles.empty()) { barren = LoadWatch.PassEnded(); RefillCatalogue(); }
//         if (barren) break;
//     } while (!loaded && !ToSeeFiles.empty());
class TPassWatch {
  public:
    // A file loaded in the current pass.
    void Loaded() { loadedInPass_ = true; }

    // The pass has ended (ToSeeFiles ran dry); the next one starts with the next pick.
    // True when no file loaded during the pass that ended: the refill stops trying.
    bool PassEnded() {
        const bool barren = !loadedInPass_;
        loadedInPass_ = false;
        return barren;
    }

  private:
    bool loadedInPass_ = false;
};
