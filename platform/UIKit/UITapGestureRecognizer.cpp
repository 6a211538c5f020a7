#include "UITapGestureRecognizer.h"

void UITapGestureRecognizer::registerRuntimeClass()
{
    objc::defineClass<UITapGestureRecognizer>("UITapGestureRecognizer", UIGestureRecognizer::staticClass());
}
