#pragma once
// The text attribute keys of UIKit's NSAttributedString additions. Each constant's value
// equals its name; they are made when UIKit registers its classes.

class NSString;

extern NSString* NSForegroundColorAttributeName;
extern NSString* NSFontAttributeName;
extern NSString* NSBackgroundColorAttributeName;
