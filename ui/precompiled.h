// The Qt and standard headers that nearly every windowed source includes, compiled once for the
// whole build (the framework precompiles them, every windowed library, the program and the test
// programs reuse that): parsing them is most of the time a windowed source takes to compile.
#pragma once

#ifdef __cplusplus
#include <QApplication>
#include <QDialog>
#include <QFont>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>
#endif
