// Creates standard controls at a fixed place inside their parent, as the layouts list them.
#pragma once

#include "toolkit/Edit.h"
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>

QPushButton* NewButton(QWidget* parent, const char* caption, int left, int top, int width,
                       int height);
QRadioButton* NewRadioButton(QWidget* parent, const char* caption, int left, int top, int width,
                             int height);
QCheckBox* NewCheckBox(QWidget* parent, const char* caption, int left, int top, int width,
                       int height);
QGroupBox* NewGroupBox(QWidget* parent, const char* caption, int left, int top, int width,
                       int height);
TEdit* NewEdit(QWidget* parent, int left, int top, int width, int height);
QLabel* NewLabel(QWidget* parent, const char* caption, int left, int top);
