// The pixel test and the fit test predicted access by access, reading the
// world's own memory: the oracle of the fit-test and placement fuzzers.
#ifndef MASKFIT_FUZZ_FIT_PREDICTION_H
#define MASKFIT_FUZZ_FIT_PREDICTION_H

#include "access_prediction.h"

namespace mffuzz {

// 0 or 1; meaningless once `prediction` has stopped.
int32_t PredictOverlap(Prediction& prediction, const BoardMask& board, const ShapeMask& shape, int32_t x, int32_t y,
                       int32_t shapeX, int32_t shapeY);

int32_t PredictCanPlace(Prediction& prediction, const BoardMask& board, const ShapeMask& shape, int32_t x, int32_t y);

// Pixel tests a fit test makes at most (five probes and the scan), counting
// a row of no columns as one.
int64_t FitTestWork(const ShapeMask& shape);

}  // namespace mffuzz

#endif
