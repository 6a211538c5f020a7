#pragma once
// UILabel: a line of text. The marquee switches are the private ones SpringBoard's labels
// have: an enabled, running marquee scrolls text wider than the label. Text is not laid
// out here; a label's text is measured (NSStringDrawing.h) for the marquee.

#include "Foundation/NSString.h"
#include "UIFont.h"
#include "UIView.h"

using NSTextAlignment = long;
inline constexpr NSTextAlignment NSTextAlignmentLeft = 0;
inline constexpr NSTextAlignment NSTextAlignmentCenter = 1;
inline constexpr NSTextAlignment NSTextAlignmentRight = 2;
inline constexpr NSTextAlignment NSTextAlignmentJustified = 3;
inline constexpr NSTextAlignment NSTextAlignmentNatural = 4;

using NSLineBreakMode = long;
inline constexpr NSLineBreakMode NSLineBreakByWordWrapping = 0;
inline constexpr NSLineBreakMode NSLineBreakByCharWrapping = 1;
inline constexpr NSLineBreakMode NSLineBreakByClipping = 2;
inline constexpr NSLineBreakMode NSLineBreakByTruncatingHead = 3;
inline constexpr NSLineBreakMode NSLineBreakByTruncatingTail = 4;
inline constexpr NSLineBreakMode NSLineBreakByTruncatingMiddle = 5;

class UILabel : public UIView {
    OBJC_INTERFACE(UILabel)
public:
    UILabel() = default;

    NSString* text() const { return m_text.get(); }
    // The setters a label's clients call are messages, as in UIKit.
    void setText(NSString* text) { objc_send<"setText:">(this, text); }
    void setText(const std::string&);
    // The system font of 17 points unless set; setting nil restores it.
    UIFont* font() const { return m_font.get(); }
    void setFont(UIFont* font) { objc_send<"setFont:">(this, font); }
    // labelColor unless set; setting nil restores it.
    UIColor* textColor() const { return m_textColor.get(); }
    void setTextColor(UIColor* color) { objc_send<"setTextColor:">(this, color); }
    NSTextAlignment textAlignment() const { return m_textAlignment; }
    void setTextAlignment(NSTextAlignment alignment) { m_textAlignment = alignment; }
    NSLineBreakMode lineBreakMode() const { return m_lineBreakMode; }
    void setLineBreakMode(NSLineBreakMode mode) { objc_send<"setLineBreakMode:">(this, mode); }
    long numberOfLines() const { return m_numberOfLines; }
    void setNumberOfLines(long lines) { m_numberOfLines = lines; }

    bool marqueeEnabled() const { return m_marqueeEnabled; }
    void setMarqueeEnabled(bool enabled) { objc_send<"setMarqueeEnabled:">(this, enabled); }
    bool marqueeRunning() const { return m_marqueeRunning; }
    void setMarqueeRunning(bool running) { objc_send<"setMarqueeRunning:">(this, running); }
    // Starts scrolling if the marquee is enabled and running and the text is wider than
    // the label; stops it otherwise.
    void _startMarqueeIfNecessary() { objc_send<"_startMarqueeIfNecessary">(this); }
    bool isMarqueeScrolling() const { return m_marqueeScrolling; }
    // Width of the text set on one line in the label's font (NSStringDrawing.h: measured as
    // the renderer sets it, so it decides here whether the marquee scrolls as it does there).
    CGFloat textWidth() const;
    // When the marquee last began from the start of its text (run-loop time): the text
    // changed, or the marquee was switched on. A renderer scrolls the text from there.
    double marqueeStartTime() const { return m_marqueeStartTime; }

    static void registerRuntimeClass();

private:
    static UILabel* initWithFrameImp(UILabel*, SEL, CGRect);
    void changeText(NSString*);
    void changeFont(UIFont*);
    void changeTextColor(UIColor*);
    void changeMarqueeEnabled(bool);
    void changeMarqueeRunning(bool);
    void startMarqueeIfNecessaryNow();

    objc::RefPtr<NSString> m_text;
    objc::RefPtr<UIFont> m_font;
    objc::RefPtr<UIColor> m_textColor;
    NSTextAlignment m_textAlignment = NSTextAlignmentNatural;
    NSLineBreakMode m_lineBreakMode = NSLineBreakByTruncatingTail;
    long m_numberOfLines = 1;
    bool m_marqueeEnabled = false;
    bool m_marqueeRunning = false;
    bool m_marqueeScrolling = false;
    double m_marqueeStartTime = 0;
};
