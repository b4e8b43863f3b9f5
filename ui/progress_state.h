// The arithmetic of a progress bar control: range, step, clamped positions and a step that
// starts over past the end of the range. Both backends keep their bar's value here.
#pragma once

namespace ofu::ui {

class ProgressState {
public:
    // Sets the range (a high end below the low end is taken as the low end) and clamps the
    // position into it.
    void SetRange(int low, int high);
    int SetStep(int step);  // returns the previous step
    int StepIt();           // returns the previous position
    int SetPos(int position);  // clamps; returns the previous position

    int Low() const { return low_; }
    int High() const { return high_; }
    int Step() const { return step_; }
    int Pos() const { return pos_; }

private:
    int low_ = 0;
    int high_ = 100;
    int step_ = 10;
    int pos_ = 0;
};

}  // namespace ofu::ui
