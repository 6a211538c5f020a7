#include "UILabel.h"

#include "Foundation/RunLoop.h"
#include "NSStringDrawing.h"

namespace {

constexpr CGFloat kDefaultFontSize = 17;

double clockNow()
{
    auto* loop = platform::RunLoop::main();
    return loop ? loop->now() : 0;
}

} // namespace

UILabel* UILabel::initWithFrameImp(UILabel* self, SEL cmd, CGRect frame)
{
    objc_msgSendSuper<id>(UIView::staticClass(), self, cmd, frame);
    // Labels take no touches unless asked to, as in UIKit.
    self->setUserInteractionEnabled(false);
    self->m_font = UIFont::systemFontOfSize(kDefaultFontSize);
    self->m_textColor = UIColor::labelColor();
    return self;
}

void UILabel::changeText(NSString* text)
{
    if (!(m_text && text && m_text->isEqual(text)))
        m_marqueeStartTime = clockNow();
    m_text = text;
    if (m_marqueeScrolling)
        _startMarqueeIfNecessary();
}

void UILabel::setText(const std::string& text)
{
    setText(NSString::create(text).get());
}

void UILabel::changeFont(UIFont* font)
{
    m_font = font ? objc::RefPtr<UIFont>(font) : UIFont::systemFontOfSize(kDefaultFontSize);
}

void UILabel::changeTextColor(UIColor* color)
{
    m_textColor = color ? objc::RefPtr<UIColor>(color) : UIColor::labelColor();
}

void UILabel::changeMarqueeEnabled(bool enabled)
{
    if (enabled && !m_marqueeEnabled)
        m_marqueeStartTime = clockNow();
    m_marqueeEnabled = enabled;
    if (!enabled)
        m_marqueeScrolling = false;
}

void UILabel::changeMarqueeRunning(bool running)
{
    if (running && !m_marqueeRunning)
        m_marqueeStartTime = clockNow();
    m_marqueeRunning = running;
    if (!running)
        m_marqueeScrolling = false;
}

CGFloat UILabel::textWidth() const
{
    return NSStringSizeWithFont(m_text.get(), m_font.get()).width;
}

void UILabel::startMarqueeIfNecessaryNow()
{
    m_marqueeScrolling = m_marqueeEnabled && m_marqueeRunning && textWidth() > bounds().size.width;
}

void UILabel::registerRuntimeClass()
{
    Class cls = objc::defineClass<UILabel>("UILabel", UIView::staticClass());
    objc::addMethod(cls, "initWithFrame:", &initWithFrameImp);
    // Private API is reached by selector in tweaks; these answer such sends.
    objc::addMethod(cls, "setMarqueeEnabled:", +[](UILabel* self, SEL, bool enabled) { self->changeMarqueeEnabled(enabled); });
    objc::addMethod(cls, "setMarqueeRunning:", +[](UILabel* self, SEL, bool running) { self->changeMarqueeRunning(running); });
    objc::addMethod(cls, "_startMarqueeIfNecessary", +[](UILabel* self, SEL) { self->startMarqueeIfNecessaryNow(); });
    objc::addMethod(cls, "setText:", +[](UILabel* self, SEL, NSString* text) { self->changeText(text); });
    objc::addMethod(cls, "setFont:", +[](UILabel* self, SEL, UIFont* font) { self->changeFont(font); });
    objc::addMethod(cls, "setTextColor:", +[](UILabel* self, SEL, UIColor* color) { self->changeTextColor(color); });
    objc::addMethod(cls, "setLineBreakMode:", +[](UILabel* self, SEL, NSLineBreakMode mode) { self->m_lineBreakMode = mode; });
}
