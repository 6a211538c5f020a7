#include "UILabel.h"

#include "Foundation/RunLoop.h"

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

void UILabel::setText(NSString* text)
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

void UILabel::setFont(UIFont* font)
{
    m_font = font ? objc::RefPtr<UIFont>(font) : UIFont::systemFontOfSize(kDefaultFontSize);
}

void UILabel::setTextColor(UIColor* color)
{
    m_textColor = color ? objc::RefPtr<UIColor>(color) : UIColor::labelColor();
}

void UILabel::setMarqueeEnabled(bool enabled)
{
    if (enabled && !m_marqueeEnabled)
        m_marqueeStartTime = clockNow();
    m_marqueeEnabled = enabled;
    if (!enabled)
        m_marqueeScrolling = false;
}

void UILabel::setMarqueeRunning(bool running)
{
    if (running && !m_marqueeRunning)
        m_marqueeStartTime = clockNow();
    m_marqueeRunning = running;
    if (!running)
        m_marqueeScrolling = false;
}

CGFloat UILabel::estimatedWidth(const NSString* text, CGFloat pointSize)
{
    return text ? static_cast<CGFloat>(text->length()) * pointSize * 0.55 : 0;
}

CGFloat UILabel::estimatedTextWidth() const
{
    return estimatedWidth(m_text.get(), m_font ? m_font->pointSize() : kDefaultFontSize);
}

void UILabel::_startMarqueeIfNecessary()
{
    m_marqueeScrolling = m_marqueeEnabled && m_marqueeRunning && estimatedTextWidth() > bounds().size.width;
}

static void UILabel_setMarqueeEnabled(UILabel* self, SEL, bool enabled) { self->setMarqueeEnabled(enabled); }
static void UILabel_setMarqueeRunning(UILabel* self, SEL, bool running) { self->setMarqueeRunning(running); }
static void UILabel_startMarqueeIfNecessary(UILabel* self, SEL) { self->_startMarqueeIfNecessary(); }

void UILabel::registerRuntimeClass()
{
    Class cls = objc::defineClass<UILabel>("UILabel", UIView::staticClass());
    objc::addMethod(cls, "initWithFrame:", &initWithFrameImp);
    // Private API is reached by selector in tweaks; these answer such sends.
    objc::addMethod(cls, "setMarqueeEnabled:", &UILabel_setMarqueeEnabled);
    objc::addMethod(cls, "setMarqueeRunning:", &UILabel_setMarqueeRunning);
    objc::addMethod(cls, "_startMarqueeIfNecessary", &UILabel_startMarqueeIfNecessary);
}
