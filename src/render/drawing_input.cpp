#include "render/drawing_input.h"

#include "jws/jws_data.h"
#include "jww/jww_data.h"

namespace plandown::render {

DrawingInput InputOf(const TJwwData& d) {
  DrawingInput in;
  in.doc = &d;
  in.groups = d.EntLgrp;
  in.layers = d.EntLay;
  in.pens = d.EntCol;
  in.lineTypes = d.EntLtp1;
  in.lineTypes3 = d.EntLtp3;
  in.sxfColors = d.EntColS;
  in.sxfLineTypes = d.EntLtpS;
  return in;
}

DrawingInput InputOf(const TJwsData& s) {
  DrawingInput in;
  in.doc = &s;
  in.groups = s.EntLgrp;
  return in;
}

}  // namespace plandown::render
