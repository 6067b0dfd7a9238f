// The C functions that are not wrappers of one member (sessions, errors, locking, the utility
// functions and the attribute functions), one row each: the name after "ZPV4870_" and the
// parameters exactly as the public header declares them (tests/capi/c_prototypes_test.cpp
// compares the two). The catalog hands them to the faces that call the library by its prototypes.
#pragma once

// X(Name, Parameters)
#define ZPV_C_INHERENT_FUNCTIONS(X) \
    X(init, "ViConstRsrc resourceName, ViBoolean idQuery, ViBoolean reset, ViSession* newVi") \
    X(InitWithOptions, "ViConstRsrc resourceName, ViBoolean idQuery, ViBoolean reset, ViConstString optionString, ViSession* newVi") \
    X(close, "ViSession vi") \
    X(GetError, "ViSession vi, ViStatus* errorCode, ViInt32 bufferSize, ViChar description[]") \
    X(ClearError, "ViSession vi") \
    X(error_message, "ViSession vi, ViStatus errorCode, ViChar errorMessage[256]") \
    X(error_query, "ViSession vi, ViInt32* errorCode, ViChar errorMessage[256]") \
    X(LockSession, "ViSession vi, ViBoolean* callerHasLock") \
    X(UnlockSession, "ViSession vi, ViBoolean* callerHasLock") \
    X(self_test, "ViSession vi, ViInt16* testResult, ViChar testMessage[256]") \
    X(revision_query, "ViSession vi, ViChar driverRevision[256], ViChar firmwareRevision[256]") \
    X(GetAttributeViInt32, "ViSession vi, ViConstString channelName, ViAttr attributeId, ViInt32* attributeValue") \
    X(GetAttributeViReal64, "ViSession vi, ViConstString channelName, ViAttr attributeId, ViReal64* attributeValue") \
    X(GetAttributeViBoolean, "ViSession vi, ViConstString channelName, ViAttr attributeId, ViBoolean* attributeValue") \
    X(GetAttributeViSession, "ViSession vi, ViConstString channelName, ViAttr attributeId, ViSession* attributeValue") \
    X(GetAttributeViString, "ViSession vi, ViConstString channelName, ViAttr attributeId, ViInt32 bufferSize, ViChar attributeValue[]") \
    X(SetAttributeViInt32, "ViSession vi, ViConstString channelName, ViAttr attributeId, ViInt32 attributeValue") \
    X(SetAttributeViReal64, "ViSession vi, ViConstString channelName, ViAttr attributeId, ViReal64 attributeValue") \
    X(SetAttributeViBoolean, "ViSession vi, ViConstString channelName, ViAttr attributeId, ViBoolean attributeValue") \
    X(SetAttributeViSession, "ViSession vi, ViConstString channelName, ViAttr attributeId, ViSession attributeValue") \
    X(SetAttributeViString, "ViSession vi, ViConstString channelName, ViAttr attributeId, ViConstString attributeValue")
