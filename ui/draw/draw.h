#pragma once
// The whole drawing layer of the framework.

#include "ui/draw/color.h"
#include "ui/draw/defaults.h"
#include "ui/draw/gdiplus.h"
#include "ui/draw/geometry.h"
#include "ui/draw/image.h"
#include "ui/draw/shapes.h"
#include "ui/draw/surface.h"
#include "ui/draw/text.h"
