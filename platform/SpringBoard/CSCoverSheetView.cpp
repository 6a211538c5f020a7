#include "CSCoverSheetView.h"

#include "CSTeachableMomentsContainerView.h"

id CSCoverSheetView::initWithFrameImp(CSCoverSheetView* self, SEL cmd, CGRect frame)
{
    objc_msgSendSuper<id>(UIView::staticClass(), self, cmd, frame);
    self->m_teachableMoments = CSTeachableMomentsContainerView::alloc();
    self->m_teachableMoments->initWithFrame(self->bounds());
    self->addSubview(self->m_teachableMoments.get());
    return self;
}

void CSCoverSheetView::registerRuntimeClass()
{
    Class cls = objc::defineClass<CSCoverSheetView>("CSCoverSheetView", UIView::staticClass());
    objc::addMethod(cls, "initWithFrame:", &initWithFrameImp);
}
