// The exported exception base class. It has no data; copying copies nothing.
#include "include/dbgauge.h"

CPtBaseException::CPtBaseException() = default;

CPtBaseException::CPtBaseException(const CPtBaseException &) {}

CPtBaseException::~CPtBaseException() = default;

CPtBaseException &CPtBaseException::operator=(const CPtBaseException &) { return *this; }

CPtBaseException::operator char *() { return GetErrorText(); }
