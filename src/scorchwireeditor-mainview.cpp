#include "scorchwireeditor.h"

using namespace VSTGUI;

// Builds the editor's content once the frame is open. For now the content is an empty container
// over the whole frame; what the editor needs of a built view is all here: the mouse hook, the size
// at the host's scale and the idle timer.
void ScorchwireEditor::setupUI() {
   frame->registerMouseObserver(this);
   frame->setSize(scaledWidth(), scaledHeight());
   frame->invalid();
   frame->setDirty(false);

   mainContainer = new CViewContainer(frame->getViewSize());
   mainContainer->setTransparency(true);
   mainContainer->setDropTarget(this);
   frame->addView(mainContainer);

   uiReady = true;
   firstResize = true;
   idleTimer = new CVSTGUITimer([this](CVSTGUITimer*) { idle(); }, kIdleTimerInterval, true);
}

// A user change of a parameter's control goes to the instance.
void ScorchwireEditor::valueChanged(CControl* control) {
   const int32_t tag = control->getTag();
   if (tag >= 0 && tag < kParamCount)
      link.post(FromUI::ValueChange, tag, control->getValueNormalized());
}

// A value from the instance moves the parameter's control.
void ScorchwireEditor::setParameter(int32_t index, double value) {
   if (index < 0 || index >= kParamCount)
      return;
   if (CControl* control = controlsByParam[static_cast<size_t>(index)]) {
      control->setValueNormalized(static_cast<float>(value));
      control->invalid();
   }
}
