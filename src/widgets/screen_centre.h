#pragma once

class QWidget;

// Moves a window, frame and all, to the middle of its screen's free area (the area
// outside task bars and panels). Windows that open there call it when first shown.
void centreOnScreen(QWidget& window);
