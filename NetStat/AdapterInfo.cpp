#include "AdapterInfo.h"

CAdapterInfo::CAdapterInfo() {}

CAdapterInfo::~CAdapterInfo() {}

CString *CAdapterInfo::GetDescriptionFilter() { return &m_strDescriptionFilter; }
