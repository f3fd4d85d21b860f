// The Qt and standard headers that nearly every windowed test includes, compiled once per test
// program: parsing them is most of the time a test file takes to compile. (The libraries are
// compiled several sources at a time instead, which saves more there.)
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
