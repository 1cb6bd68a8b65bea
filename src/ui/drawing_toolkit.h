// The drawing toolkit: the dialog framework, the theme, DPI scaling, the
// images, the custom frame and the owner-drawn controls.
//
// Contents of ui/ (the framework, theme, frame and buttons):
//   window            CWindow: a window bound to an object, with message,
//                     command, notify and timer tables and reflection
//   dialog            CDialog: a dialog per template, modal or child
//   control           CControl: a template control bound by identifier
//   message_filter    pre-translation before the modal loop dispatches
//   theme             ThemePalette and the four shared fonts
//   dpi               the DPI cache, ScaleX, StepScaleX/Y, SnappedDpi,
//                     the design sizes
//   direct2d          the Direct2D and DirectWrite objects, made one way
//   offscreen         the off-screen bitmap every control paints into
//   glyph_strip       an image strip of state frames, blended per frame
//   caption_buttons   the caption buttons as data: layout, hit testing,
//                     press and release
//   caption_glyphs    their images
//   zyl_dialog        CZYLDialog: the custom-frame dialog
//   zyl_clickable     the pointer and keyboard rules of our buttons
//   zyl_text_button   CZYLTextButton
//   zyl_button        CZYLButton (image or text)
//   zyl_static        CZYLStatic (label, link)
//   accessible        names, roles and states for screen readers
// The images (image_cache, image_*) and the progress bar, slideshow,
// combo box and edit field (zyl_progress*, zyl_slideshow*, zyl_combo*,
// zyl_edit*) have their own files beside these.
#pragma once

#include "ui/control.h"
#include "ui/dialog.h"
#include "ui/dpi.h"
#include "ui/theme.h"
#include "ui/zyl_button.h"
#include "ui/zyl_dialog.h"
#include "ui/zyl_static.h"
#include "ui/zyl_text_button.h"
