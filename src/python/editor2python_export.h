#pragma once

#include <QtCore/qglobal.h>

#if defined(EDITOR2_PYTHON_LIBRARY)
#define EDITOR2_PYTHON_EXPORT Q_DECL_EXPORT
#else
#define EDITOR2_PYTHON_EXPORT Q_DECL_IMPORT
#endif
