#pragma once

// Design measures are twips: 1440 to the inch, 15 to a pixel at 96 dpi,
// scaled by the screen's logical dpi.
int twips_to_px(int twips);
int px_to_twips(int px);

class QWidget;

// Twips geometry of a control: kept on the control (so a layout computed in
// twips stays exact) and applied to it in pixels.
struct TwRect { int left = 0, top = 0, width = 0, height = 0; };
TwRect tw_rect(const QWidget* w);
void tw_place(QWidget* w, int left, int top, int width, int height);
void tw_set_left(QWidget* w, int left);
void tw_set_top(QWidget* w, int top);
void tw_set_width(QWidget* w, int width);
void tw_set_height(QWidget* w, int height);
