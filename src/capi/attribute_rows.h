// The attributes of the C interface whose property is the driver object's own (operation,
// identity, the I/O timeout, the phase count), one row each: the identifier's name after
// "ZPV4870_ATTR_", its number, the interface and property behind it, and whether it can be
// written. Every other attribute is a column of its member's row (`.attribute = {...}`); the
// driver prefix has no property and is added by the attribute table itself. The value type is
// the property's own; the public header's attribute block is generated from these rows and the
// member rows (tools/catalog), and a test compares the two.
#pragma once

#include "ZPV4870.h"

// X(Name, Id, Interface, Property, ReadWrite | ReadOnly)
#define ZPV_C_DRIVER_ATTRIBUTES(X) \
    X(RANGE_CHECK, 1050002, IIviDriverOperation, RangeCheck, ReadWrite) \
    X(QUERY_INSTRUMENT_STATUS, 1050003, IIviDriverOperation, QueryInstrumentStatus, ReadWrite) \
    X(CACHE, 1050004, IIviDriverOperation, Cache, ReadWrite) \
    X(SIMULATE, 1050005, IIviDriverOperation, Simulate, ReadWrite) \
    X(RECORD_COERCIONS, 1050006, IIviDriverOperation, RecordCoercions, ReadWrite) \
    X(DRIVER_SETUP, 1050007, IIviDriverOperation, DriverSetup, ReadOnly) \
    X(INTERCHANGE_CHECK, 1050021, IIviDriverOperation, InterchangeCheck, ReadWrite) \
    X(IO_RESOURCE_DESCRIPTOR, 1050304, IIviDriverOperation, IoResourceDescriptor, ReadOnly) \
    X(LOGICAL_NAME, 1050305, IIviDriverOperation, LogicalName, ReadOnly) \
    X(SUPPORTED_INSTRUMENT_MODELS, 1050327, IIviDriverIdentity, SupportedInstrumentModels, ReadOnly) \
    X(GROUP_CAPABILITIES, 1050401, IIviDriverIdentity, GroupCapabilities, ReadOnly) \
    X(INSTRUMENT_FIRMWARE_REVISION, 1050510, IIviDriverIdentity, InstrumentFirmwareRevision, ReadOnly) \
    X(INSTRUMENT_MANUFACTURER, 1050511, IIviDriverIdentity, InstrumentManufacturer, ReadOnly) \
    X(INSTRUMENT_MODEL, 1050512, IIviDriverIdentity, InstrumentModel, ReadOnly) \
    X(SPECIFICATION_MAJOR_VERSION, 1050515, IIviDriverIdentity, SpecificationMajorVersion, ReadOnly) \
    X(SPECIFICATION_MINOR_VERSION, 1050516, IIviDriverIdentity, SpecificationMinorVersion, ReadOnly) \
    X(SPECIFIC_DRIVER_VENDOR, 1050513, IIviComponentIdentity, Vendor, ReadOnly) \
    X(SPECIFIC_DRIVER_DESCRIPTION, 1050514, IIviComponentIdentity, Description, ReadOnly) \
    X(SPECIFIC_DRIVER_REVISION, 1050551, IIviComponentIdentity, Revision, ReadOnly) \
    X(SYSTEM_IO_TIMEOUT, 1150001, IZPV4870System, IOTimeout, ReadWrite) \
    X(OUTPUT_PHASE_COUNT, 1250036, IIviACPwrOutputPhases, Count, ReadOnly)

// The driver prefix: "ZPV4870", answered without the driver object.
#define ZPV_C_PREFIX_ATTRIBUTE_NAME "SPECIFIC_DRIVER_PREFIX"
#define ZPV_C_PREFIX_ATTRIBUTE_ID 1050302
