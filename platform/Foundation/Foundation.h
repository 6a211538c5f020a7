#pragma once
// Foundation, all in one include, as <Foundation/Foundation.h>.

#include "NSArray.h"
#include "NSData.h"
#include "NSDate.h"
#include "NSDictionary.h"
#include "NSNumber.h"
#include "NSObject.h"
#include "NSString.h"
#include "PropertyList.h"
