// The three ways of finding the system's adapters. Each walk appends whole entries to the
// list it is given, leaves out adapters already listed (when the list is not empty) and
// stops at once when memory runs out.
#pragma once

#include "NameList.h"

// The network class key: Windows 2000/XP location when the major version is odd,
// Windows 9x location when it is even. Probes (opens) adapters only in 2000/XP mode.
void WalkNetworkClassKey(NameListBuilder &list, bool probe);

// The NT 4 network card list with each card's service parameters.
void WalkNt4NetworkCards(NameListBuilder &list, bool probe);

// The Windows 9x access driver's adapter list.
void ListAccessDriverAdapters(NameListBuilder &list);

// Appends the adapters of an access-driver list reply of replySize bytes: pairs of
// adapter name and description, ended by an empty name. A pair not complete within the
// reply ends it; a pair with a string longer than MAC_NAME_MAX_CHARS is left out.
void AppendAccessDriverReply(NameListBuilder &list, const char *reply, DWORD replySize);
