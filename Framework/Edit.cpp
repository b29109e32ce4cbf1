#include "Edit.h"

CEdit::CEdit() {}

CEdit::~CEdit() {}
