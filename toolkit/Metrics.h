// System measures the forms lay themselves out by.
#pragma once

// Width of a vertical scroll bar in pixels, as the current style draws it.
int VerticalScrollBarWidth();
