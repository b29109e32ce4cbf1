// MacGetNames and MacGetNamesEx: the walk of the running platform, with probing, and
// for MacGetNamesEx on request a second pass that adds the marked adapters whose driver
// did not answer.
#include "AdapterWalks.h"
#include "Platform.h"

namespace {

void FirstPass(NameListBuilder &list, MAC_PLATFORM platform) {
  switch (platform) {
  case MAC_PLATFORM_NT4: WalkNt4NetworkCards(list, true); break;
  case MAC_PLATFORM_WIN9X: ListAccessDriverAdapters(list); break;
  case MAC_PLATFORM_NT5: WalkNetworkClassKey(list, true); break;
  default: break;
  }
}

} // namespace

extern "C" MAC_NAME_LIST *MACAPI MacGetNames(LONG *entryCount, DWORD *listSize) {
  *entryCount = 0;
  *listSize = 0;
  NameListBuilder list;
  FirstPass(list, CurrentPlatform());
  return list.Finish(entryCount, listSize);
}

extern "C" MAC_NAME_LIST *MACAPI MacGetNamesEx(LONG *entryCount, DWORD *listSize,
                                               DWORD allAdapters) {
  *entryCount = 0;
  *listSize = 0;
  NameListBuilder list;
  list.SetWithKeyPaths(true);
  MAC_PLATFORM platform = CurrentPlatform();
  FirstPass(list, platform);
  if (LOBYTE(allAdapters)) {
    if (platform == MAC_PLATFORM_NT4)
      WalkNt4NetworkCards(list, false);
    else if (platform != MAC_PLATFORM_NONE)
      WalkNetworkClassKey(list, false);
  }
  return list.Finish(entryCount, listSize);
}
