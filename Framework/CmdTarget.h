// Base of every object that handles messages through a message map: windows and the
// application object.
#pragma once

#include <windows.h>

class CCmdTarget;

// Calls one handler with the message's parameters unpacked for its signature.
typedef LRESULT (*AFX_HANDLER)(CCmdTarget *pTarget, WPARAM wParam, LPARAM lParam);

// One row of a message map. A row matches a window message (nMessage), a command
// (WM_COMMAND with an identifier in nID..nLastID and notification code nCode), or a
// registered message (pnRegistered points at the variable that holds its number).
struct AFX_MSGMAP_ENTRY {
  UINT nMessage;
  UINT nCode;
  UINT nID;
  UINT nLastID;
  const UINT *pnRegistered;
  AFX_HANDLER pfnHandler;
};

struct AFX_MSGMAP {
  const AFX_MSGMAP *(*pfnGetBaseMap)();
  const AFX_MSGMAP_ENTRY *lpEntries;
};

class CCmdTarget {
public:
  virtual ~CCmdTarget() {}
  virtual const AFX_MSGMAP *GetMessageMap() const;

  // Looks for a row that matches the message in this object's map and its bases'
  // maps, most derived first; runs the first one found and stores its result.
  BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT *pResult);

protected:
  static const AFX_MSGMAP *GetThisMessageMap();
};

namespace afx_detail {
template <class T> struct MemberClass;
template <class C, class R, class... A> struct MemberClass<R (C::*)(A...)> { typedef C Class; };

template <auto pfn> LRESULT CommandHandler(CCmdTarget *pTarget, WPARAM, LPARAM) {
  typedef typename MemberClass<decltype(pfn)>::Class Class;
  (static_cast<Class *>(pTarget)->*pfn)();
  return 0;
}

template <auto pfn> LRESULT MessageHandler(CCmdTarget *pTarget, WPARAM wParam, LPARAM lParam) {
  typedef typename MemberClass<decltype(pfn)>::Class Class;
  return (static_cast<Class *>(pTarget)->*pfn)(wParam, lParam);
}
} // namespace afx_detail

#define DECLARE_MESSAGE_MAP()                                                              \
protected:                                                                                 \
  static const AFX_MSGMAP *GetThisMessageMap();                                            \
                                                                                           \
public:                                                                                    \
  const AFX_MSGMAP *GetMessageMap() const override;

// The rows are constants: they hold no state, only what to match and whom to call.
#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                             \
  const AFX_MSGMAP *theClass::GetMessageMap() const { return GetThisMessageMap(); }        \
  const AFX_MSGMAP *theClass::GetThisMessageMap() {                                        \
    typedef theClass ThisClass;                                                            \
    typedef baseClass TheBaseClass;                                                        \
    static const AFX_MSGMAP_ENTRY entries[] = {

#define END_MESSAGE_MAP()                                                                  \
  { 0, 0, 0, 0, nullptr, nullptr }                                                         \
  };                                                                                       \
  static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, entries};        \
  return &messageMap;                                                                      \
  }

// void memberFxn(): a menu item, button or accelerator with this identifier.
#define ON_COMMAND(id, memberFxn)                                                          \
  {WM_COMMAND, 0, (id), (id), nullptr,                                                     \
   &afx_detail::CommandHandler<&ThisClass::memberFxn>},

// LRESULT memberFxn(WPARAM, LPARAM) for a message with a fixed number.
#define ON_MESSAGE(message, memberFxn)                                                     \
  {(message), 0, 0, 0, nullptr, &afx_detail::MessageHandler<&ThisClass::memberFxn>},

// LRESULT memberFxn(WPARAM, LPARAM) for a message from RegisterWindowMessage; the
// number is read from the variable when the message arrives.
#define ON_REGISTERED_MESSAGE(nMessageVariable, memberFxn)                                 \
  {0, 0, 0, 0, &(nMessageVariable), &afx_detail::MessageHandler<&ThisClass::memberFxn>},
