#pragma once
// The layout engine: turns the active constraints and autoresizing masks of a view tree
// into frames, and runs the layout passes that send layoutSubviews.
//
// A pass solves the whole tree at once, in the tree's root coordinates (the screen's for
// a window), with one solver variable per edge position and size of every view and
// every safe-area guide:
//   - the root keeps its frame;
//   - a view that translates its autoresizing mask keeps its frame relative to its
//     superview, adjusted by the mask for any change of the superview's size;
//   - a safe-area guide is its view inset by the view's current safe-area insets;
//   - active constraints, in the order they were activated. One that contradicts those
//     before it is left out and written to the log, once per constraint;
//   - whatever is still undetermined keeps its current value (sizes first, then
//     positions), and the view is written to the log as ambiguous, once per view.
// The insets depend on where the solution puts each view, so the solve repeats until
// the insets no longer change (a guide depends only on its own view, which depends only
// on things above it, so this settles within the depth of the tree).

#include "UIGeometry.h"

class UIView;

class UILayoutEngine {
public:
    // Bounds on the iterative parts, checked on every run.
    static constexpr int kMaximumSafeAreaPasses = 32;
    static constexpr int kMaximumLayoutRounds = 8;

    // Solves the tree under `root` and sends layoutSubviews to every view that needs it,
    // top-down, repeating while the layoutSubviews calls ask for more layout (bounded).
    static void layoutTree(UIView* root);
    // Asks for a pass over the tree under `root` at the end of the current run-loop turn.
    static void scheduleLayout(UIView* root);
    // Runs every pass asked for.
    static void layoutPendingTrees();

    // How a view's position and size follow a change of its superview's size along one
    // axis: new position = position + shares.position × change, new size = size +
    // shares.size × change. The change is spread over the flexible parts (margin before,
    // size, margin after) in proportion to their current lengths, or evenly if those are
    // all zero.
    struct AutoresizingShares {
        double position = 0;
        double size = 0;
    };
    static AutoresizingShares autoresizingShares(bool flexibleBefore, bool flexibleSize, bool flexibleAfter,
        double position, double size, double oldSuperviewSize);

    // Geometry arithmetic leaves residues like 137.49999999999997 or 5.000000000000001
    // (a half turn's sine is 1.2e-16, not 0); frames are kept to a billionth of a point so
    // they compare and print as the numbers they stand for.
    static double tidy(double);
    static CGRect tidy(CGRect);

    // How much of a rectangle in screen coordinates lies in each of the current device's
    // unsafe bands.
    static UIEdgeInsets safeAreaInsetsForScreenRect(CGRect);

private:
    static void sendLayoutSubviews(UIView*);
};
