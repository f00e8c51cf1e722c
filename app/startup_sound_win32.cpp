// The start-up sound, played from the program's own resources.
#include <windows.h>
#include <mmsystem.h>

#include "app/startup_sound.h"

namespace qv {

void PlayStartupSound() {
  HRSRC found = FindResourceExA(nullptr, "TIBWAVE", "OstrelWave",
                                MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL));
  if (found == nullptr) FatalAppExitA(0, "findresourceex fail");
  HGLOBAL loaded = LoadResource(nullptr, found);
  if (loaded == nullptr) FatalAppExitA(0, "loadresource fail");
  // Resource memory lives as long as the program, so the sound may play on
  // while the program goes ahead.
  const void* wave = LockResource(loaded);
  if (wave != nullptr) sndPlaySoundA(static_cast<LPCSTR>(wave), SND_ASYNC | SND_MEMORY | SND_NODEFAULT);
}

}  // namespace qv
