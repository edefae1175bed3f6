#pragma once
// The cover kinds table lives in covers/; the main window's files keep including it from here.
#include "cover_kinds.h"
