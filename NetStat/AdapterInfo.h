// The adapter the applet works with. Its description filter picks the adapter among the
// system's wireless adapters: every adapter look-up hands it to MacFindFirstMatchEx, and
// the configuration applet receives it as its adapter text. The filter stays empty, so
// the applet always works with the first adapter the driver interface library lists.
#pragma once

#include "Framework/Afx.h"

class CAdapterInfo : public CEdit {
public:
  CAdapterInfo();
  ~CAdapterInfo() override;

  // The filter, never null; callers read its characters and never change it. Shorter
  // than 260 characters, since callers copy it into 260-byte buffers.
  virtual CString *GetDescriptionFilter();

private:
  CString m_strDescriptionFilter;
};
