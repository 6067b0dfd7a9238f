/* zpv4870.h - the flat C interface of the ZPV4870 AC power source driver.
 *
 * Every function takes a session handle from ZPV4870_init or ZPV4870_InitWithOptions and returns
 * a ViStatus: 0 is success, negative values are errors, positive values are warnings. After a
 * failure, ZPV4870_GetError gives the description of the last error of the session (of the
 * calling thread for session 0). Text is UTF-8; text outputs follow one rule: with a buffer size
 * of 0 (or no buffer) nothing is written and the size needed, including the NUL, is returned;
 * with a negative size the whole text is copied; otherwise at most size - 1 bytes and a NUL are
 * copied and the size needed is returned when the text did not fit.
 *
 * Plain C99; usable from C++. Link with -lzpv4870.
 */
#ifndef ZPV4870_C_INTERFACE_H
#define ZPV4870_C_INTERFACE_H

/* ---------------------------------------------------------------------------------------------
 * Types. A program that includes a VISA visatype.h first keeps that header's definitions.
 * ------------------------------------------------------------------------------------------- */
#ifndef __VISATYPE_HEADER__
typedef unsigned int ViUInt32;
typedef signed int ViInt32;
typedef unsigned short ViUInt16;
typedef signed short ViInt16;
typedef unsigned char ViUInt8;
typedef ViUInt8 ViByte;
typedef double ViReal64;
typedef ViUInt16 ViBoolean;
typedef char ViChar;
typedef ViChar* ViString;
typedef const ViChar* ViConstString;
typedef ViString ViRsrc;
typedef ViConstString ViConstRsrc;
typedef ViInt32 ViStatus;
typedef ViUInt32 ViSession;
typedef ViUInt32 ViAttr;

#define VI_TRUE ((ViBoolean)1)
#define VI_FALSE ((ViBoolean)0)
#define VI_NULL 0
#define VI_SUCCESS 0L
#endif

#if defined(__GNUC__)
#define ZPV4870_EXPORT __attribute__((visibility("default")))
#else
#define ZPV4870_EXPORT
#endif

/* ---------------------------------------------------------------------------------------------
 * Status codes
 * ------------------------------------------------------------------------------------------- */
/* Errors common to IVI-style drivers. */
#define ZPV4870_ERROR_CANNOT_RECOVER                         ((ViStatus)0xBFFA0000L)
#define ZPV4870_ERROR_INSTRUMENT_STATUS                      ((ViStatus)0xBFFA0001L)
#define ZPV4870_ERROR_CANNOT_OPEN_FILE                       ((ViStatus)0xBFFA0002L)
#define ZPV4870_ERROR_READING_FILE                           ((ViStatus)0xBFFA0003L)
#define ZPV4870_ERROR_WRITING_FILE                           ((ViStatus)0xBFFA0004L)
#define ZPV4870_ERROR_INVALID_PATHNAME                       ((ViStatus)0xBFFA000BL)
#define ZPV4870_ERROR_INVALID_ATTRIBUTE                      ((ViStatus)0xBFFA000CL)
#define ZPV4870_ERROR_ATTRIBUTE_NOT_WRITABLE                 ((ViStatus)0xBFFA000DL)
#define ZPV4870_ERROR_ATTRIBUTE_NOT_READABLE                 ((ViStatus)0xBFFA000EL)
#define ZPV4870_ERROR_INVALID_VALUE                          ((ViStatus)0xBFFA0010L)
#define ZPV4870_ERROR_FUNCTION_NOT_SUPPORTED                 ((ViStatus)0xBFFA0011L)
#define ZPV4870_ERROR_ATTRIBUTE_NOT_SUPPORTED                ((ViStatus)0xBFFA0012L)
#define ZPV4870_ERROR_VALUE_NOT_SUPPORTED                    ((ViStatus)0xBFFA0013L)
#define ZPV4870_ERROR_TYPES_DO_NOT_MATCH                     ((ViStatus)0xBFFA0015L)
#define ZPV4870_ERROR_NOT_INITIALIZED                        ((ViStatus)0xBFFA001DL)
#define ZPV4870_ERROR_UNKNOWN_CHANNEL_NAME                   ((ViStatus)0xBFFA0020L)
#define ZPV4870_ERROR_TOO_MANY_OPEN_FILES                    ((ViStatus)0xBFFA0023L)
#define ZPV4870_ERROR_CHANNEL_NAME_REQUIRED                  ((ViStatus)0xBFFA0044L)
#define ZPV4870_ERROR_MISSING_OPTION_NAME                    ((ViStatus)0xBFFA0049L)
#define ZPV4870_ERROR_MISSING_OPTION_VALUE                   ((ViStatus)0xBFFA004AL)
#define ZPV4870_ERROR_BAD_OPTION_NAME                        ((ViStatus)0xBFFA004BL)
#define ZPV4870_ERROR_BAD_OPTION_VALUE                       ((ViStatus)0xBFFA004CL)
#define ZPV4870_ERROR_OUT_OF_MEMORY                          ((ViStatus)0xBFFA0056L)
#define ZPV4870_ERROR_OPERATION_PENDING                      ((ViStatus)0xBFFA0057L)
#define ZPV4870_ERROR_NULL_POINTER                           ((ViStatus)0xBFFA0058L)
#define ZPV4870_ERROR_UNEXPECTED_RESPONSE                    ((ViStatus)0xBFFA0059L)
#define ZPV4870_ERROR_FILE_NOT_FOUND                         ((ViStatus)0xBFFA005BL)
#define ZPV4870_ERROR_INVALID_FILE_FORMAT                    ((ViStatus)0xBFFA005CL)
#define ZPV4870_ERROR_STATUS_NOT_AVAILABLE                   ((ViStatus)0xBFFA005DL)
#define ZPV4870_ERROR_ID_QUERY_FAILED                        ((ViStatus)0xBFFA005EL)
#define ZPV4870_ERROR_RESET_FAILED                           ((ViStatus)0xBFFA005FL)
#define ZPV4870_ERROR_RESOURCE_UNKNOWN                       ((ViStatus)0xBFFA0060L)
#define ZPV4870_ERROR_ALREADY_INITIALIZED                    ((ViStatus)0xBFFA0061L)
#define ZPV4870_ERROR_CANNOT_CHANGE_SIMULATION_STATE         ((ViStatus)0xBFFA0062L)
#define ZPV4870_ERROR_INVALID_NUMBER_OF_LEVELS_IN_SELECTOR   ((ViStatus)0xBFFA0063L)
#define ZPV4870_ERROR_INVALID_RANGE_IN_SELECTOR              ((ViStatus)0xBFFA0064L)
#define ZPV4870_ERROR_UNKNOWN_NAME_IN_SELECTOR               ((ViStatus)0xBFFA0065L)
#define ZPV4870_ERROR_BADLY_FORMED_SELECTOR                  ((ViStatus)0xBFFA0066L)
#define ZPV4870_ERROR_UNKNOWN_PHYSICAL_IDENTIFIER            ((ViStatus)0xBFFA0067L)

/* Errors of the AC power source class. */
#define ZPV4870_ERROR_CANNOT_APPLY_TO_ALL_PHASES             ((ViStatus)0xBFFA2001L)
#define ZPV4870_ERROR_MEASUREMENT_GROUP_NOT_SUPPORTED        ((ViStatus)0xBFFA2002L)
#define ZPV4870_ERROR_MEASUREMENT_TYPE_NOT_SUPPORTED         ((ViStatus)0xBFFA2003L)
#define ZPV4870_ERROR_WAVEFORM_IN_USE                        ((ViStatus)0xBFFA2004L)
#define ZPV4870_ERROR_WAVEFORM_FIXED                         ((ViStatus)0xBFFA2005L)
#define ZPV4870_ERROR_WAVEFORM_NOT_STORED                    ((ViStatus)0xBFFA2006L)
#define ZPV4870_ERROR_WAVEFORM_EXISTS                        ((ViStatus)0xBFFA2007L)
#define ZPV4870_ERROR_WAVEFORM_MEMORY_FULL                   ((ViStatus)0xBFFA2008L)
#define ZPV4870_ERROR_INVALID_WAVEFORM_NAME                  ((ViStatus)0xBFFA2009L)
#define ZPV4870_ERROR_PHASES_NOT_INDEPENDENT                 ((ViStatus)0xBFFA200AL)
#define ZPV4870_ERROR_PHASES_NOT_EQUAL                       ((ViStatus)0xBFFA200BL)
#define ZPV4870_ERROR_VOLTAGE_PROTECTION_TRIPPED             ((ViStatus)0xBFFA200CL)
#define ZPV4870_ERROR_CURRENT_PROTECTION_TRIPPED             ((ViStatus)0xBFFA200DL)
#define ZPV4870_ERROR_OUTPUT_ENABLED                         ((ViStatus)0xBFFA200EL)
#define ZPV4870_ERROR_WAVEFORM_DC_OFFSET                     ((ViStatus)0xBFFA200FL)

/* I/O, model and session errors. */
#define ZPV4870_ERROR_IO_GENERAL                             ((ViStatus)0xBFFA4214L)
#define ZPV4870_ERROR_IO_TIMEOUT                             ((ViStatus)0xBFFA4215L)
#define ZPV4870_ERROR_MODEL_NOT_SUPPORTED                    ((ViStatus)0xBFFA4216L)
#define ZPV4870_ERROR_INVALID_SESSION_HANDLE                 ((ViStatus)0xBFFA1190L)

/* Warnings: the session is open, but the instrument does not offer the operation. */
#define ZPV4870_WARN_NSUP_ID_QUERY                           ((ViStatus)0x3FFA0065L)
#define ZPV4870_WARN_NSUP_RESET                              ((ViStatus)0x3FFA0066L)
#define ZPV4870_WARN_NSUP_SELF_TEST                          ((ViStatus)0x3FFA0067L)
#define ZPV4870_WARN_NSUP_ERROR_QUERY                        ((ViStatus)0x3FFA0068L)
#define ZPV4870_WARN_NSUP_REV_QUERY                          ((ViStatus)0x3FFA0069L)

/* ---------------------------------------------------------------------------------------------
 * Attribute identifiers, for ZPV4870_GetAttribute<Type> and ZPV4870_SetAttribute<Type>. Each
 * comment gives the attribute's type (and for an enumeration-valued ViInt32 the enumeration whose
 * ZPV4870_VAL_ values it takes); per-phase attributes take a channel name ("OutputPhase1"), the
 * others ignore it.
 * ------------------------------------------------------------------------------------------- */
/* BEGIN attribute identifiers: generated from the driver's rows (tools/catalog), do not edit */
/* The driver prefix, "ZPV4870" */
#define ZPV4870_ATTR_SPECIFIC_DRIVER_PREFIX                       1050302L /* ViString, read-only */

/* IIviDriverOperation */
#define ZPV4870_ATTR_RANGE_CHECK                                  1050002L /* ViBoolean, read/write */
#define ZPV4870_ATTR_QUERY_INSTRUMENT_STATUS                      1050003L /* ViBoolean, read/write */
#define ZPV4870_ATTR_CACHE                                        1050004L /* ViBoolean, read/write */
#define ZPV4870_ATTR_SIMULATE                                     1050005L /* ViBoolean, read/write */
#define ZPV4870_ATTR_RECORD_COERCIONS                             1050006L /* ViBoolean, read/write */
#define ZPV4870_ATTR_DRIVER_SETUP                                 1050007L /* ViString, read-only */
#define ZPV4870_ATTR_INTERCHANGE_CHECK                            1050021L /* ViBoolean, read/write */
#define ZPV4870_ATTR_IO_RESOURCE_DESCRIPTOR                       1050304L /* ViString, read-only */
#define ZPV4870_ATTR_LOGICAL_NAME                                 1050305L /* ViString, read-only */

/* IIviDriverIdentity */
#define ZPV4870_ATTR_SUPPORTED_INSTRUMENT_MODELS                  1050327L /* ViString, read-only */
#define ZPV4870_ATTR_GROUP_CAPABILITIES                           1050401L /* ViString, read-only */
#define ZPV4870_ATTR_INSTRUMENT_FIRMWARE_REVISION                 1050510L /* ViString, read-only */
#define ZPV4870_ATTR_INSTRUMENT_MANUFACTURER                      1050511L /* ViString, read-only */
#define ZPV4870_ATTR_INSTRUMENT_MODEL                             1050512L /* ViString, read-only */
#define ZPV4870_ATTR_SPECIFICATION_MAJOR_VERSION                  1050515L /* ViInt32, read-only */
#define ZPV4870_ATTR_SPECIFICATION_MINOR_VERSION                  1050516L /* ViInt32, read-only */

/* IIviComponentIdentity */
#define ZPV4870_ATTR_SPECIFIC_DRIVER_VENDOR                       1050513L /* ViString, read-only */
#define ZPV4870_ATTR_SPECIFIC_DRIVER_DESCRIPTION                  1050514L /* ViString, read-only */
#define ZPV4870_ATTR_SPECIFIC_DRIVER_REVISION                     1050551L /* ViString, read-only */

/* IZPV4870System */
#define ZPV4870_ATTR_SYSTEM_IO_TIMEOUT                            1150001L /* ViInt32, read/write */

/* IIviACPwrOutputPhases */
#define ZPV4870_ATTR_OUTPUT_PHASE_COUNT                           1250036L /* ViInt32, read-only */

/* IZPV4870System */
#define ZPV4870_ATTR_SYSTEM_ALARM                                 1150102L /* ViInt32, read/write */
#define ZPV4870_ATTR_SYSTEM_ANALOG                                1150103L /* ViInt32, ZPV4870AnalogEnum, read/write */
#define ZPV4870_ATTR_SYSTEM_FREQUENCY_HIGH_LIMIT                  1150104L /* ViReal64, read/write */
#define ZPV4870_ATTR_SYSTEM_FREQUENCY_LOW_LIMIT                   1150105L /* ViReal64, read/write */
#define ZPV4870_ATTR_SYSTEM_LOCK                                  1150106L /* ViBoolean, read/write */
#define ZPV4870_ATTR_SYSTEM_METER_DISPLAY                         1150107L /* ViInt32, ZPV4870MeterEnum, read/write */
#define ZPV4870_ATTR_SYSTEM_OC_FOLD                               1150108L /* ViBoolean, read/write */
#define ZPV4870_ATTR_SYSTEM_POWRE_UP                              1150109L /* ViInt32, ZPV4870PowerUpEnum, read/write */
#define ZPV4870_ATTR_SYSTEM_REMOTE                                1150110L /* ViInt32, ZPV4870RemoteEnum, read/write */
#define ZPV4870_ATTR_SYSTEM_SYCHRONOUS_SIGNAL                     1150111L /* ViInt32, ZPV4870SychronousSignalEnum, read/write */
#define ZPV4870_ATTR_SYSTEM_VOLTAGE_AC_HIGH_LIMIT                 1150112L /* ViReal64, read/write */
#define ZPV4870_ATTR_SYSTEM_VOLTAGE_AC_LOW_LIMIT                  1150113L /* ViReal64, read/write */
#define ZPV4870_ATTR_SYSTEM_VOLTAGE_DC_HIGH_LIMIT                 1150114L /* ViReal64, read/write */
#define ZPV4870_ATTR_SYSTEM_VOLTAGE_DC_LOW_LIMIT                  1150115L /* ViReal64, read/write */
#define ZPV4870_ATTR_SYSTEM_VOLTAGE_SENSE                         1150116L /* ViInt32, ZPV4870VoltageSenseEnum, read/write */

/* IZPV4870ExecutionConfigurations */
#define ZPV4870_ATTR_EXECUTION_CONFIGURATIONS_FREQUENCY           1150002L /* ViReal64, read/write */
#define ZPV4870_ATTR_EXECUTION_CONFIGURATIONS_DC_VOLTAGE          1150003L /* ViReal64, read/write */
#define ZPV4870_ATTR_EXECUTION_CONFIGURATIONS_CURRENT_HIGH_LIMIT  1150004L /* ViReal64, read/write */
#define ZPV4870_ATTR_EXECUTION_CONFIGURATIONS_AC_VOLTAGE          1150005L /* ViReal64, read/write */

/* IZPV4870ManualMode */
#define ZPV4870_ATTR_MANUAL_MODE_COUPLE                           1150044L /* ViInt32, ZPV4870CoupleEnum, read/write */
#define ZPV4870_ATTR_MANUAL_MODE_CURRENT_HIGH_LIMIT               1150045L /* ViReal64, read/write */
#define ZPV4870_ATTR_MANUAL_MODE_CURRENT_LIMIT_DELAY              1150046L /* ViReal64, read/write */
#define ZPV4870_ATTR_MANUAL_MODE_CURRENT_LOW_LIMIT                1150047L /* ViReal64, read/write */
#define ZPV4870_ATTR_MANUAL_MODE_FREQUENCY                        1150048L /* ViReal64, read/write */
#define ZPV4870_ATTR_MANUAL_MODE_POWER_HIGH_LIMIT                 1150049L /* ViReal64, read/write */
#define ZPV4870_ATTR_MANUAL_MODE_POWER_LOW_LIMIT                  1150050L /* ViReal64, read/write */
#define ZPV4870_ATTR_MANUAL_MODE_RAMP_UP                          1150051L /* ViReal64, read/write */
#define ZPV4870_ATTR_MANUAL_MODE_RANGE                            1150052L /* ViInt32, ZPV4870RangeEnum, read/write */
#define ZPV4870_ATTR_MANUAL_MODE_START_ANGLE                      1150053L /* ViReal64, read/write */
#define ZPV4870_ATTR_MANUAL_MODE_TOTAL_HARMONIC_DISTORTION        1150054L /* ViReal64, read/write */
#define ZPV4870_ATTR_MANUAL_MODE_VOLTAGE_AC                       1150055L /* ViReal64, read/write */
#define ZPV4870_ATTR_MANUAL_MODE_VOLTAGE_DC                       1150056L /* ViReal64, read/write */
#define ZPV4870_ATTR_MANUAL_MODE_WAVEFORM                         1150057L /* ViInt32, ZPV4870WaveformEnum, read/write */

/* IZPV4870ManualModeFile */
#define ZPV4870_ATTR_MANUAL_MODE_FILE_SET_FILE_INDEX              1150043L /* ViReal64, read/write */

/* IZPV4870StepMode */
#define ZPV4870_ATTR_STEP_MODE_TRIGGER                            1150086L /* ViInt32, ZPV4870TriggerEnum, read/write */
#define ZPV4870_ATTR_STEP_MODE_COUNT                              1150087L /* ViInt32, read/write */
#define ZPV4870_ATTR_STEP_MODE_BASE                               1150088L /* ViInt32, ZPV4870BaseEnum, read/write */
#define ZPV4870_ATTR_STEP_MODE_RANGE                              1150089L /* ViInt32, ZPV4870RangeEnum, read/write */
#define ZPV4870_ATTR_STEP_MODE_WAVEFORM                           1150090L /* ViInt32, ZPV4870WaveformEnum, read/write */
#define ZPV4870_ATTR_STEP_MODE_TOTAL_HARMONIC_DISTORTION          1150091L /* ViReal64, read/write */
#define ZPV4870_ATTR_STEP_MODE_START_ANGLE                        1150092L /* ViReal64, read/write */
#define ZPV4870_ATTR_STEP_MODE_VOLTAGE_AC                         1150093L /* ViReal64, read/write */
#define ZPV4870_ATTR_STEP_MODE_VOLTAGE_DC                         1150094L /* ViReal64, read/write */
#define ZPV4870_ATTR_STEP_MODE_FREQUENCY                          1150095L /* ViReal64, read/write */
#define ZPV4870_ATTR_STEP_MODE_TIME                               1150096L /* ViReal64, read/write */
#define ZPV4870_ATTR_STEP_MODE_TIME_UNIT                          1150097L /* ViInt32, ZPV4870TimeUnitEnum, read/write */
#define ZPV4870_ATTR_STEP_MODE_CYCLE                              1150098L /* ViInt32, read/write */
#define ZPV4870_ATTR_STEP_MODE_DELTA_VOLTAGE_AC                   1150099L /* ViReal64, read/write */
#define ZPV4870_ATTR_STEP_MODE_DELTA_VOLTAGE_DC                   1150100L /* ViReal64, read/write */
#define ZPV4870_ATTR_STEP_MODE_DELTA_FREQUENCY                    1150101L /* ViReal64, read/write */

/* IZPV4870StepModeFile */
#define ZPV4870_ATTR_STEP_MODE_FILE_SET_FILE_INDEX                1150085L /* ViReal64, read/write */

/* IZPV4870PulseMode */
#define ZPV4870_ATTR_PULSE_MODE_COUNT                             1150072L /* ViInt32, read/write */
#define ZPV4870_ATTR_PULSE_MODE_TRIGGER                           1150073L /* ViInt32, ZPV4870TriggerEnum, read/write */
#define ZPV4870_ATTR_PULSE_MODE_RANGE                             1150074L /* ViInt32, ZPV4870RangeEnum, read/write */
#define ZPV4870_ATTR_PULSE_MODE_START_ANGLE                       1150075L /* ViReal64, read/write */
#define ZPV4870_ATTR_PULSE_MODE_VOLTAGE_AC                        1150076L /* ViReal64, read/write */
#define ZPV4870_ATTR_PULSE_MODE_VOLTAGE_DC                        1150077L /* ViReal64, read/write */
#define ZPV4870_ATTR_PULSE_MODE_FREQUENCY                         1150078L /* ViReal64, read/write */
#define ZPV4870_ATTR_PULSE_MODE_TRANSIENT_VOLTAGE_AC              1150079L /* ViReal64, read/write */
#define ZPV4870_ATTR_PULSE_MODE_TRANSIENT_VOLTAGE_DC              1150080L /* ViReal64, read/write */
#define ZPV4870_ATTR_PULSE_MODE_DUTY                              1150081L /* ViInt32, read/write */
#define ZPV4870_ATTR_PULSE_MODE_PERIOD                            1150082L /* ViReal64, read/write */

/* IZPV4870PulseModeFile */
#define ZPV4870_ATTR_PULSE_MODE_FILE_SET_FILE_INDEX               1150071L /* ViReal64, read/write */

/* IZPV4870ListModeFile */
#define ZPV4870_ATTR_LIST_MODE_FILE_SET_FILE_INDEX                1150006L /* ViReal64, read/write */

/* IZPV4870ListModeProgram */
#define ZPV4870_ATTR_LIST_MODE_PROGRAM_VOLTAGE_AC                 1150007L /* ViReal64, read/write */
#define ZPV4870_ATTR_LIST_MODE_PROGRAM_COUNT                      1150008L /* ViInt32, read/write */
#define ZPV4870_ATTR_LIST_MODE_PROGRAM_BASE                       1150009L /* ViInt32, ZPV4870BaseEnum, read/write */
#define ZPV4870_ATTR_LIST_MODE_PROGRAM_RANGE                      1150010L /* ViInt32, ZPV4870RangeEnum, read/write */
#define ZPV4870_ATTR_LIST_MODE_PROGRAM_TRIGGER                    1150011L /* ViInt32, ZPV4870TriggerEnum, read/write */
#define ZPV4870_ATTR_LIST_MODE_PROGRAM_VOLTAGE_DC                 1150012L /* ViReal64, read/write */
#define ZPV4870_ATTR_LIST_MODE_PROGRAM_FREQUENCY                  1150013L /* ViReal64, read/write */
#define ZPV4870_ATTR_LIST_MODE_PROGRAM_ANGLE_CONNECT              1150014L /* ViInt32, ZPV4870EnableEnum, read/write */
#define ZPV4870_ATTR_LIST_MODE_PROGRAM_FAIL_STOP                  1150015L /* ViInt32, ZPV4870EnableEnum, read/write */

/* IZPV4870ListModeSequence */
#define ZPV4870_ATTR_LIST_MODE_SEQUENCE_WAVEFORM                  1150016L /* ViInt32, ZPV4870WaveformEnum, read/write */
#define ZPV4870_ATTR_LIST_MODE_SEQUENCE_START_ANGLE               1150017L /* ViInt32, read/write */
#define ZPV4870_ATTR_LIST_MODE_SEQUENCE_VOLTAGE_AC_START          1150018L /* ViReal64, read/write */
#define ZPV4870_ATTR_LIST_MODE_SEQUENCE_VOLTAGE_DC_START          1150019L /* ViReal64, read/write */
#define ZPV4870_ATTR_LIST_MODE_SEQUENCE_VOLTAGE_AC_END            1150020L /* ViReal64, read/write */
#define ZPV4870_ATTR_LIST_MODE_SEQUENCE_VOLTAGE_DC_END            1150021L /* ViReal64, read/write */
#define ZPV4870_ATTR_LIST_MODE_SEQUENCE_TOTAL_HARMONIC_DISTORTION 1150022L /* ViReal64, read/write */
#define ZPV4870_ATTR_LIST_MODE_SEQUENCE_FREQUENCY_END             1150023L /* ViReal64, read/write */
#define ZPV4870_ATTR_LIST_MODE_SEQUENCE_FREQUENCY_START           1150024L /* ViReal64, read/write */
#define ZPV4870_ATTR_LIST_MODE_SEQUENCE_TIME                      1150025L /* ViReal64, read/write */
#define ZPV4870_ATTR_LIST_MODE_SEQUENCE_TIME_UNIT                 1150026L /* ViInt32, ZPV4870TimeUnitEnum, read/write */
#define ZPV4870_ATTR_LIST_MODE_SEQUENCE_CYCLE                     1150027L /* ViInt32, read/write */
#define ZPV4870_ATTR_LIST_MODE_SEQUENCE_CURRENT_HIGH_LIMIT        1150028L /* ViReal64, read/write */
#define ZPV4870_ATTR_LIST_MODE_SEQUENCE_CURRENT_LIMIT_DELAY       1150029L /* ViReal64, read/write */
#define ZPV4870_ATTR_LIST_MODE_SEQUENCE_CURRENT_LOW_LIMIT         1150030L /* ViReal64, read/write */
#define ZPV4870_ATTR_LIST_MODE_SEQUENCE_POWER_HIGH_LIMIT          1150031L /* ViReal64, read/write */
#define ZPV4870_ATTR_LIST_MODE_SEQUENCE_POWER_LOW_LIMIT           1150032L /* ViReal64, read/write */
#define ZPV4870_ATTR_LIST_MODE_SEQUENCE_POWER_FACTOR_LOW_LIMIT    1150033L /* ViReal64, read/write */
#define ZPV4870_ATTR_LIST_MODE_SEQUENCE_POWER_FACTOR_HIGH_LIMIT   1150034L /* ViReal64, read/write */
#define ZPV4870_ATTR_LIST_MODE_SEQUENCE_CURRENT_PEAK_HIGH_LIMIT   1150035L /* ViReal64, read/write */
#define ZPV4870_ATTR_LIST_MODE_SEQUENCE_CURRENT_PEAK_LOW_LIMIT    1150036L /* ViReal64, read/write */
#define ZPV4870_ATTR_LIST_MODE_SEQUENCE_REACTIVE_POWER_HIGH_LIMIT 1150037L /* ViReal64, read/write */
#define ZPV4870_ATTR_LIST_MODE_SEQUENCE_REACTIVE_POWER_LOW_LIMIT  1150038L /* ViReal64, read/write */
#define ZPV4870_ATTR_LIST_MODE_SEQUENCE_APPARENT_POWER_HIGH_LIMIT 1150039L /* ViReal64, read/write */
#define ZPV4870_ATTR_LIST_MODE_SEQUENCE_APPARENT_POWER_LOW_LIMIT  1150040L /* ViReal64, read/write */
#define ZPV4870_ATTR_LIST_MODE_SEQUENCE_CREST_FACTOR_LOW_LIMIT    1150041L /* ViReal64, read/write */
#define ZPV4870_ATTR_LIST_MODE_SEQUENCE_CREST_FACTOR_HIGH_LIMIT   1150042L /* ViReal64, read/write */
#define ZPV4870_ATTR_LIST_MODE_SEQUENCE_FREQUENCY                 1150117L /* ViReal64, read/write */
#define ZPV4870_ATTR_LIST_MODE_SEQUENCE_VOLTAGE_AC                1150118L /* ViReal64, read/write */

/* IZPV4870Result */
#define ZPV4870_ATTR_RESULT_SEQUENCE_INDEX                        1150083L /* ViInt32, read/write */
#define ZPV4870_ATTR_RESULT_TOTAL_SEQUENCE                        1150084L /* ViInt32, read-only */

/* IZPV4870OutputPhases */
#define ZPV4870_ATTR_OUTPUT_PHASES_FREQUENCY                      1150058L /* ViReal64, read/write */

/* IZPV4870OutputPhase, per output phase: pass a channel name */
#define ZPV4870_ATTR_OUTPUT_PHASE_CURRENT_LIMIT                   1150059L /* ViReal64, read/write */
#define ZPV4870_ATTR_OUTPUT_PHASE_ENABLED                         1150060L /* ViBoolean, read/write */
#define ZPV4870_ATTR_OUTPUT_PHASE_PHASE_ANGLE                     1150061L /* ViReal64, read/write */
#define ZPV4870_ATTR_OUTPUT_PHASE_VOLTAGE_LEVEL                   1150062L /* ViReal64, read/write */
#define ZPV4870_ATTR_OUTPUT_PHASE_VOLTAGE_RANGE                   1150063L /* ViInt32, ZPV4870RangeEnum, read/write */
#define ZPV4870_ATTR_OUTPUT_PHASE_WAVEFORM                        1150064L /* ViString, read/write */

/* IZPV4870OutputPhaseCurrentProtection, per output phase: pass a channel name */
#define ZPV4870_ATTR_OUTPUT_PHASE_CURRENT_PROTECTION_DELAY        1150065L /* ViReal64, read/write */
#define ZPV4870_ATTR_OUTPUT_PHASE_CURRENT_PROTECTION_ENABLED      1150066L /* ViBoolean, read/write */
#define ZPV4870_ATTR_OUTPUT_PHASE_CURRENT_PROTECTION_THRESHOLD    1150067L /* ViReal64, read/write */

/* IZPV4870OutputPhaseDCGeneration, per output phase: pass a channel name */
#define ZPV4870_ATTR_OUTPUT_PHASE_DC_GENERATION_MODE              1150068L /* ViInt32, ZPV4870DCGenerationEnum, read/write */
#define ZPV4870_ATTR_OUTPUT_PHASE_DC_GENERATION_DC_VOLTAGE_LEVEL  1150069L /* ViReal64, read/write */
#define ZPV4870_ATTR_OUTPUT_PHASE_DC_GENERATION_CONFIGURE_RANGE   1150070L /* ViInt32, ZPV4870RangeEnum, read/write */

/* IIviACPwrOutputPhases */
#define ZPV4870_ATTR_NUM_PHASES                                   1250002L /* ViInt32, read-only */
#define ZPV4870_ATTR_FREQUENCY                                    1250001L /* ViReal64, read/write */
#define ZPV4870_ATTR_FREQUENCY_RANGE                              1250004L /* ViReal64, read/write */
#define ZPV4870_ATTR_NUM_FREQUENCY_RANGES                         1250003L /* ViInt32, read-only */
#define ZPV4870_ATTR_FREQUENCY_RAMP_BUSY                          1250039L /* ViBoolean, read-only */

/* IIviACPwrOutputPhase, per output phase: pass a channel name */
#define ZPV4870_ATTR_CURRENT_LIMIT                                1250013L /* ViReal64, read/write */
#define ZPV4870_ATTR_OUTPUT_ENABLED                               1250014L /* ViBoolean, read/write */
#define ZPV4870_ATTR_PHASE_ANGLE                                  1250019L /* ViReal64, read/write */
#define ZPV4870_ATTR_VOLTAGE_LEVEL                                1250016L /* ViReal64, read/write */
#define ZPV4870_ATTR_VOLTAGE_RANGE                                1250018L /* ViReal64, read/write */
#define ZPV4870_ATTR_WAVEFORM                                     1250017L /* ViString, read/write */
#define ZPV4870_ATTR_NUM_VOLTAGE_RANGES                           1250015L /* ViInt32, read-only */
#define ZPV4870_ATTR_VOLTAGE_RAMP_BUSY                            1250037L /* ViBoolean, read-only */
#define ZPV4870_ATTR_CURRENT_RAMP_BUSY                            1250038L /* ViBoolean, read-only */

/* IIviACPwrCurrentProtection, per output phase: pass a channel name */
#define ZPV4870_ATTR_CURRENT_PROTECTION_DELAY                     1250023L /* ViReal64, read/write */
#define ZPV4870_ATTR_CURRENT_PROTECTION_ENABLED                   1250024L /* ViBoolean, read/write */
#define ZPV4870_ATTR_CURRENT_PROTECTION_THRESHOLD                 1250025L /* ViReal64, read/write */
#define ZPV4870_ATTR_CURRENT_PROTECTION_TRIPPED                   1250026L /* ViBoolean, read-only */

/* IIviACPwrVoltageProtection, per output phase: pass a channel name */
#define ZPV4870_ATTR_VOLTAGE_PROTECTION_OVER_ENABLED              1250027L /* ViBoolean, read/write */
#define ZPV4870_ATTR_VOLTAGE_PROTECTION_OVER_LIMIT                1250028L /* ViReal64, read/write */
#define ZPV4870_ATTR_VOLTAGE_PROTECTION_UNDER_ENABLED             1250029L /* ViBoolean, read/write */
#define ZPV4870_ATTR_VOLTAGE_PROTECTION_UNDER_LIMIT               1250030L /* ViReal64, read/write */
#define ZPV4870_ATTR_VOLTAGE_PROTECTION_TRIPPED                   1250031L /* ViBoolean, read-only */

/* IIviACPwrDCGeneration, per output phase: pass a channel name */
#define ZPV4870_ATTR_DC_VOLTAGE_LEVEL                             1250033L /* ViReal64, read/write */
#define ZPV4870_ATTR_DC_GENERATION_MODE                           1250032L /* ViInt32, IviACPwrDCGenerationEnum, read/write */
#define ZPV4870_ATTR_DC_GENERATION_NUM_RANGES                     1250035L /* ViInt32, read-only */
#define ZPV4870_ATTR_DC_GENERATION_RANGE_MIN                      1250040L /* ViReal64, read-only */
#define ZPV4870_ATTR_DC_GENERATION_RANGE_MAX                      1250041L /* ViReal64, read-only */

/* IIviACPwrImpedance, per output phase: pass a channel name */
#define ZPV4870_ATTR_IMPEDANCE_ENABLED                            1250021L /* ViBoolean, read/write */
#define ZPV4870_ATTR_IMPEDANCE_INDUCTIVE                          1250020L /* ViReal64, read/write */
#define ZPV4870_ATTR_IMPEDANCE_RESISTIVE                          1250022L /* ViReal64, read/write */

/* IIviACPwrExternalSync */
#define ZPV4870_ATTR_EXTERNAL_SYNC_ENABLED                        1250010L /* ViBoolean, read/write */
#define ZPV4870_ATTR_EXTERNAL_SYNC_PHASE_OFFSET                   1250011L /* ViReal64, read/write */
#define ZPV4870_ATTR_EXTERNAL_SYNC_LOCKED                         1250012L /* ViBoolean, read-only */

/* IIviACPwrArbWaveform */
#define ZPV4870_ATTR_AVAILABLE_WAVEFORM_COUNT                     1250009L /* ViInt32, read-only */
#define ZPV4870_ATTR_FIXED_WAVEFORM_COUNT                         1250007L /* ViInt32, read-only */
#define ZPV4870_ATTR_NUM_OPTIMAL_DATA_POINTS                      1250006L /* ViInt32, read-only */
#define ZPV4870_ATTR_NUM_WAVEFORMS_MAX                            1250005L /* ViInt32, read-only */
#define ZPV4870_ATTR_USER_WAVEFORM_COUNT                          1250008L /* ViInt32, read-only */
/* END attribute identifiers */

/* ---------------------------------------------------------------------------------------------
 * Values of the enumeration-valued (ViInt32) attributes and parameters
 * ------------------------------------------------------------------------------------------- */
/* ZPV4870OutputEnum */
#define ZPV4870_VAL_OUTPUT_ON                                0L
#define ZPV4870_VAL_OUTPUT_OFF                               1L

/* ZPV4870OperationModeEnum */
#define ZPV4870_VAL_OPERATION_MODE_MANUAL                    0L
#define ZPV4870_VAL_OPERATION_MODE_LIST                      1L
#define ZPV4870_VAL_OPERATION_MODE_PULSE                     2L
#define ZPV4870_VAL_OPERATION_MODE_STEP                      3L

/* ZPV4870BaseEnum */
#define ZPV4870_VAL_BASE_TIME                                0L
#define ZPV4870_VAL_BASE_CYCLE                               1L

/* ZPV4870RangeEnum */
#define ZPV4870_VAL_RANGE_AUTO                               0L
#define ZPV4870_VAL_RANGE_HIGH                               1L
#define ZPV4870_VAL_RANGE_LOW                                2L

/* ZPV4870TriggerEnum */
#define ZPV4870_VAL_TRIGGER_AUTO                             0L
#define ZPV4870_VAL_TRIGGER_MANUAL                           1L

/* ZPV4870EnableEnum */
#define ZPV4870_VAL_ENABLE_OFF                               0L
#define ZPV4870_VAL_ENABLE_ON                                1L

/* ZPV4870WaveformEnum */
#define ZPV4870_VAL_WAVEFORM_SINE                            0L
#define ZPV4870_VAL_WAVEFORM_TRIANGLE                        1L
#define ZPV4870_VAL_WAVEFORM_SQUARE                          2L
#define ZPV4870_VAL_WAVEFORM_CLIPPED                         3L

/* ZPV4870TimeUnitEnum */
#define ZPV4870_VAL_TIME_UNIT_MILLISECOND                    0L
#define ZPV4870_VAL_TIME_UNIT_SECOND                         1L
#define ZPV4870_VAL_TIME_UNIT_MINUTE                         2L
#define ZPV4870_VAL_TIME_UNIT_HOUR                           3L

/* ZPV4870CoupleEnum */
#define ZPV4870_VAL_COUPLE_AC                                0L
#define ZPV4870_VAL_COUPLE_DC                                1L
#define ZPV4870_VAL_COUPLE_ACDC                              2L

/* ZPV4870DCGenerationEnum */
#define ZPV4870_VAL_DC_GENERATION_MODE_AC_ONLY               0L
#define ZPV4870_VAL_DC_GENERATION_MODE_DC_ONLY               1L
#define ZPV4870_VAL_DC_GENERATION_MODE_AC_PLUS_DC            2L

/* ZPV4870AnalogEnum */
#define ZPV4870_VAL_ANALOG_OFF                               0L
#define ZPV4870_VAL_ANALOG_5V                                1L
#define ZPV4870_VAL_ANALOG_10V                               2L

/* ZPV4870MeterEnum */
#define ZPV4870_VAL_METER_FREQUENCY                          0L
#define ZPV4870_VAL_METER_CURRENT                            1L
#define ZPV4870_VAL_METER_POWER                              2L
#define ZPV4870_VAL_METER_POWER_FACTOR                       3L
#define ZPV4870_VAL_METER_CURRENT_PEAK                       4L
#define ZPV4870_VAL_METER_REACTIVE_POWER                     5L
#define ZPV4870_VAL_METER_CREST_FACTOR                       6L
#define ZPV4870_VAL_METER_APPARENT_POWER                     7L
#define ZPV4870_VAL_METER_VOLTAGE_AC                         8L
#define ZPV4870_VAL_METER_CURRENT_AC                         9L
#define ZPV4870_VAL_METER_VOLTAGE_DC                         10L
#define ZPV4870_VAL_METER_CURRENT_DC                         11L

/* ZPV4870PowerUpEnum */
#define ZPV4870_VAL_POWER_UP_OFF                             0L
#define ZPV4870_VAL_POWER_UP_ON                              1L
#define ZPV4870_VAL_POWER_UP_LAST                            2L

/* ZPV4870RemoteEnum */
#define ZPV4870_VAL_REMOTE_OFF                               0L
#define ZPV4870_VAL_REMOTE_ON                                1L

/* ZPV4870SychronousSignalEnum */
#define ZPV4870_VAL_SYCHRONOUS_SIGNAL_OFF                    0L
#define ZPV4870_VAL_SYCHRONOUS_SIGNAL_ON                     1L
#define ZPV4870_VAL_SYCHRONOUS_SIGNAL_START                  2L
#define ZPV4870_VAL_SYCHRONOUS_SIGNAL_END                    3L
#define ZPV4870_VAL_SYCHRONOUS_SIGNAL_BOTH                   4L
#define ZPV4870_VAL_SYCHRONOUS_SIGNAL_EVENT                  5L

/* ZPV4870VoltageSenseEnum */
#define ZPV4870_VAL_VOLTAGE_SENSE_INTERNAL                   0L
#define ZPV4870_VAL_VOLTAGE_SENSE_EXTERNAL                   1L

/* IviACPwrDCGenerationEnum */
#define ZPV4870_VAL_DC_GENERATION_AC_ONLY                    0L
#define ZPV4870_VAL_DC_GENERATION_DC_ONLY                    1L
#define ZPV4870_VAL_DC_GENERATION_AC_PLUS_DC                 2L

/* IviACPwrMeasurementTypeEnum */
#define ZPV4870_VAL_MEASUREMENT_TYPE_VOLTAGE_RMS             0L
#define ZPV4870_VAL_MEASUREMENT_TYPE_VOLTAGE_DC              1L
#define ZPV4870_VAL_MEASUREMENT_TYPE_CURRENT_RMS             2L
#define ZPV4870_VAL_MEASUREMENT_TYPE_CURRENT_DC              3L
#define ZPV4870_VAL_MEASUREMENT_TYPE_FREQUENCY               4L
#define ZPV4870_VAL_MEASUREMENT_TYPE_POWER                   5L
#define ZPV4870_VAL_MEASUREMENT_TYPE_POWER_FACTOR            6L
#define ZPV4870_VAL_MEASUREMENT_TYPE_CURRENT_PEAK            7L
#define ZPV4870_VAL_MEASUREMENT_TYPE_CREST_FACTOR            8L
#define ZPV4870_VAL_MEASUREMENT_TYPE_APPARENT_POWER          9L

/* IviACPwrMeasurementGroupEnum */
#define ZPV4870_VAL_MEASUREMENT_GROUP_ALL                    0L
#define ZPV4870_VAL_MEASUREMENT_GROUP_VOLTAGE                1L
#define ZPV4870_VAL_MEASUREMENT_GROUP_CURRENT                2L
#define ZPV4870_VAL_MEASUREMENT_GROUP_POWER                  3L

/* IviACPwrWaveformCatalogEnum */
#define ZPV4870_VAL_WAVEFORM_CATALOG_ALL                     0L
#define ZPV4870_VAL_WAVEFORM_CATALOG_FIXED                   1L
#define ZPV4870_VAL_WAVEFORM_CATALOG_USER                    2L

/* ---------------------------------------------------------------------------------------------
 * Functions
 * ------------------------------------------------------------------------------------------- */
#ifdef __cplusplus
extern "C" {
#endif

/* Sessions. optionString: "Simulate=1, RangeCheck=0, DriverSetup=Model=ZPV-4816-Standard", ... */
ZPV4870_EXPORT ViStatus ZPV4870_init(ViConstRsrc resourceName, ViBoolean idQuery, ViBoolean reset, ViSession* newVi);
ZPV4870_EXPORT ViStatus ZPV4870_InitWithOptions(ViConstRsrc resourceName, ViBoolean idQuery, ViBoolean reset,
                                                ViConstString optionString, ViSession* newVi);
ZPV4870_EXPORT ViStatus ZPV4870_close(ViSession vi);

/* Errors. ZPV4870_GetError clears the error it delivers into a buffer. */
ZPV4870_EXPORT ViStatus ZPV4870_GetError(ViSession vi, ViStatus* errorCode, ViInt32 bufferSize, ViChar description[]);
ZPV4870_EXPORT ViStatus ZPV4870_ClearError(ViSession vi);
ZPV4870_EXPORT ViStatus ZPV4870_error_message(ViSession vi, ViStatus errorCode, ViChar errorMessage[256]);
ZPV4870_EXPORT ViStatus ZPV4870_error_query(ViSession vi, ViInt32* errorCode, ViChar errorMessage[256]);

/* Several calls as one unit: other threads' calls on the session wait until it is unlocked.
 * callerHasLock may be VI_NULL; when given, a second lock or unlock by the same holder does nothing. */
ZPV4870_EXPORT ViStatus ZPV4870_LockSession(ViSession vi, ViBoolean* callerHasLock);
ZPV4870_EXPORT ViStatus ZPV4870_UnlockSession(ViSession vi, ViBoolean* callerHasLock);

/* Instrument utility. */
ZPV4870_EXPORT ViStatus ZPV4870_self_test(ViSession vi, ViInt16* testResult, ViChar testMessage[256]);
ZPV4870_EXPORT ViStatus ZPV4870_revision_query(ViSession vi, ViChar driverRevision[256],
                                               ViChar firmwareRevision[256]);

/* Attributes. channelName may be VI_NULL or "" for the one output phase and is ignored by
 * attributes that are not per phase. */
ZPV4870_EXPORT ViStatus ZPV4870_GetAttributeViInt32(ViSession vi, ViConstString channelName, ViAttr attributeId,
                                                    ViInt32* attributeValue);
ZPV4870_EXPORT ViStatus ZPV4870_GetAttributeViReal64(ViSession vi, ViConstString channelName, ViAttr attributeId,
                                                     ViReal64* attributeValue);
ZPV4870_EXPORT ViStatus ZPV4870_GetAttributeViBoolean(ViSession vi, ViConstString channelName, ViAttr attributeId,
                                                      ViBoolean* attributeValue);
ZPV4870_EXPORT ViStatus ZPV4870_GetAttributeViSession(ViSession vi, ViConstString channelName, ViAttr attributeId,
                                                      ViSession* attributeValue);
ZPV4870_EXPORT ViStatus ZPV4870_GetAttributeViString(ViSession vi, ViConstString channelName, ViAttr attributeId,
                                                     ViInt32 bufferSize, ViChar attributeValue[]);
ZPV4870_EXPORT ViStatus ZPV4870_SetAttributeViInt32(ViSession vi, ViConstString channelName, ViAttr attributeId,
                                                    ViInt32 attributeValue);
ZPV4870_EXPORT ViStatus ZPV4870_SetAttributeViReal64(ViSession vi, ViConstString channelName, ViAttr attributeId,
                                                     ViReal64 attributeValue);
ZPV4870_EXPORT ViStatus ZPV4870_SetAttributeViBoolean(ViSession vi, ViConstString channelName, ViAttr attributeId,
                                                      ViBoolean attributeValue);
ZPV4870_EXPORT ViStatus ZPV4870_SetAttributeViSession(ViSession vi, ViConstString channelName, ViAttr attributeId,
                                                      ViSession attributeValue);
ZPV4870_EXPORT ViStatus ZPV4870_SetAttributeViString(ViSession vi, ViConstString channelName, ViAttr attributeId,
                                                     ViConstString attributeValue);

/* Function wrappers, one per method of the object interface, grouped by the interface they call.
 * Functions of an output phase take a channel name after the session: those that change settings
 * apply to every phase it selects ("OutputPhase1", lists and ranges), those that read take the
 * first. Text outputs take a buffer size before the buffer (the copy-out rule above). */
/* IIviDriverOperation */
ZPV4870_EXPORT ViStatus ZPV4870_ClearInterchangeWarnings(ViSession vi);
ZPV4870_EXPORT ViStatus ZPV4870_GetNextCoercionRecord(ViSession vi, ViInt32 RecordBufferSize, ViChar Record[]);
ZPV4870_EXPORT ViStatus ZPV4870_GetNextInterchangeWarning(ViSession vi, ViInt32 WarningBufferSize, ViChar Warning[]);
ZPV4870_EXPORT ViStatus ZPV4870_ResetInterchangeCheck(ViSession vi);

/* IIviDriverUtility */
ZPV4870_EXPORT ViStatus ZPV4870_Disable(ViSession vi);
ZPV4870_EXPORT ViStatus ZPV4870_ResetWithDefaults(ViSession vi);
ZPV4870_EXPORT ViStatus ZPV4870_reset(ViSession vi);

/* IZPV4870System */
ZPV4870_EXPORT ViStatus ZPV4870_viRead(ViSession vi, ViByte Buffer[], ViInt32 Count, ViInt32* ReturnCount);
ZPV4870_EXPORT ViStatus ZPV4870_viWrite(ViSession vi, const ViByte Buffer[], ViInt32 Count, ViInt32* ReturnCount);

/* IZPV4870Execution */
ZPV4870_EXPORT ViStatus ZPV4870_ClearProtections(ViSession vi);
ZPV4870_EXPORT ViStatus ZPV4870_GetOperationMode(ViSession vi, ViInt32* Val);
ZPV4870_EXPORT ViStatus ZPV4870_GetOutputEnable(ViSession vi, ViInt32* Val);
ZPV4870_EXPORT ViStatus ZPV4870_GetProtections(ViSession vi, ViInt32 ValBufferSize, ViChar Val[]);
ZPV4870_EXPORT ViStatus ZPV4870_SetOperationMode(ViSession vi, ViInt32 OperationMode);
ZPV4870_EXPORT ViStatus ZPV4870_SetOutputEnable(ViSession vi, ViInt32 Behavior);

/* IZPV4870ListModeFile */
ZPV4870_EXPORT ViStatus ZPV4870_Add(ViSession vi, ViConstString FileName);
ZPV4870_EXPORT ViStatus ZPV4870_Copy(ViSession vi, ViConstString SourceFile, ViConstString DestinationFile);
ZPV4870_EXPORT ViStatus ZPV4870_Delete(ViSession vi, ViConstString FileName);
ZPV4870_EXPORT ViStatus ZPV4870_Edit(ViSession vi, ViConstString FileName);
ZPV4870_EXPORT ViStatus ZPV4870_GetEditFile(ViSession vi, ViInt32 ValBufferSize, ViChar Val[]);
ZPV4870_EXPORT ViStatus ZPV4870_GetFileName(ViSession vi, ViInt32 ValBufferSize, ViChar Val[]);
ZPV4870_EXPORT ViStatus ZPV4870_GetFileTotal(ViSession vi, ViReal64* Val);
ZPV4870_EXPORT ViStatus ZPV4870_GetLoadFile(ViSession vi, ViInt32 ValBufferSize, ViChar Val[]);
ZPV4870_EXPORT ViStatus ZPV4870_Load(ViSession vi, ViConstString FileName);

/* IZPV4870ListModeSequence */
ZPV4870_EXPORT ViStatus ZPV4870_Add2(ViSession vi);
ZPV4870_EXPORT ViStatus ZPV4870_Copy2(ViSession vi, ViInt32 SourceSequenceIndex);
ZPV4870_EXPORT ViStatus ZPV4870_Delete2(ViSession vi, ViInt32 SequenceIndex);
ZPV4870_EXPORT ViStatus ZPV4870_Edit2(ViSession vi, ViInt32 SequenceIndex);
ZPV4870_EXPORT ViStatus ZPV4870_GetEditSequence(ViSession vi, ViInt32* Val);
ZPV4870_EXPORT ViStatus ZPV4870_GetTotalSequence(ViSession vi, ViInt32* Val);

/* IZPV4870ManualModeFile */
ZPV4870_EXPORT ViStatus ZPV4870_Add3(ViSession vi, ViConstString FileName);
ZPV4870_EXPORT ViStatus ZPV4870_Copy3(ViSession vi, ViConstString SourceFile, ViConstString DestinationFile);
ZPV4870_EXPORT ViStatus ZPV4870_Delete3(ViSession vi, ViConstString FileName);
ZPV4870_EXPORT ViStatus ZPV4870_Edit3(ViSession vi, ViConstString FileName);
ZPV4870_EXPORT ViStatus ZPV4870_GetEditFile2(ViSession vi, ViInt32 ValBufferSize, ViChar Val[]);
ZPV4870_EXPORT ViStatus ZPV4870_GetFileName2(ViSession vi, ViInt32 ValBufferSize, ViChar Val[]);
ZPV4870_EXPORT ViStatus ZPV4870_GetFileTotal2(ViSession vi, ViReal64* Val);
ZPV4870_EXPORT ViStatus ZPV4870_GetLoadFile2(ViSession vi, ViInt32 ValBufferSize, ViChar Val[]);
ZPV4870_EXPORT ViStatus ZPV4870_Load2(ViSession vi, ViConstString FileName);

/* IZPV4870PulseModeFile */
ZPV4870_EXPORT ViStatus ZPV4870_Add4(ViSession vi, ViConstString FileName);
ZPV4870_EXPORT ViStatus ZPV4870_Copy4(ViSession vi, ViConstString SourceFile, ViConstString DestinationFile);
ZPV4870_EXPORT ViStatus ZPV4870_Delete4(ViSession vi, ViConstString FileName);
ZPV4870_EXPORT ViStatus ZPV4870_Edit4(ViSession vi, ViConstString FileName);
ZPV4870_EXPORT ViStatus ZPV4870_GetEditFile3(ViSession vi, ViInt32 ValBufferSize, ViChar Val[]);
ZPV4870_EXPORT ViStatus ZPV4870_GetFileName3(ViSession vi, ViInt32 ValBufferSize, ViChar Val[]);
ZPV4870_EXPORT ViStatus ZPV4870_GetFileTotal3(ViSession vi, ViReal64* Val);
ZPV4870_EXPORT ViStatus ZPV4870_GetLoadFile3(ViSession vi, ViInt32 ValBufferSize, ViChar Val[]);
ZPV4870_EXPORT ViStatus ZPV4870_Load3(ViSession vi, ViConstString FileName);

/* IZPV4870StepModeFile */
ZPV4870_EXPORT ViStatus ZPV4870_Add5(ViSession vi, ViConstString FileName);
ZPV4870_EXPORT ViStatus ZPV4870_Copy5(ViSession vi, ViConstString SourceFile, ViConstString DestinationFile);
ZPV4870_EXPORT ViStatus ZPV4870_Delete5(ViSession vi, ViConstString FileName);
ZPV4870_EXPORT ViStatus ZPV4870_Edit5(ViSession vi, ViConstString FileName);
ZPV4870_EXPORT ViStatus ZPV4870_GetEditFile4(ViSession vi, ViInt32 ValBufferSize, ViChar Val[]);
ZPV4870_EXPORT ViStatus ZPV4870_GetFileName4(ViSession vi, ViInt32 ValBufferSize, ViChar Val[]);
ZPV4870_EXPORT ViStatus ZPV4870_GetFileTotal4(ViSession vi, ViReal64* Val);
ZPV4870_EXPORT ViStatus ZPV4870_GetLoadFile4(ViSession vi, ViInt32 ValBufferSize, ViChar Val[]);
ZPV4870_EXPORT ViStatus ZPV4870_Load4(ViSession vi, ViConstString FileName);

/* IZPV4870Measure */
ZPV4870_EXPORT ViStatus ZPV4870_All(ViSession vi, ViInt32 ValBufferSize, ViChar Val[]);
ZPV4870_EXPORT ViStatus ZPV4870_ApparentPower(ViSession vi, ViReal64* Val);
ZPV4870_EXPORT ViStatus ZPV4870_Count(ViSession vi, ViReal64* Val);
ZPV4870_EXPORT ViStatus ZPV4870_CrestFactor(ViSession vi, ViReal64* Val);
ZPV4870_EXPORT ViStatus ZPV4870_Current(ViSession vi, ViReal64* Val);
ZPV4870_EXPORT ViStatus ZPV4870_CurrentAC(ViSession vi, ViReal64* Val);
ZPV4870_EXPORT ViStatus ZPV4870_CurrentDC(ViSession vi, ViReal64* Val);
ZPV4870_EXPORT ViStatus ZPV4870_CurrentPeak(ViSession vi, ViReal64* Val);
ZPV4870_EXPORT ViStatus ZPV4870_DwellTime(ViSession vi, ViReal64* Val);
ZPV4870_EXPORT ViStatus ZPV4870_Frequency(ViSession vi, ViReal64* Val);
ZPV4870_EXPORT ViStatus ZPV4870_Power(ViSession vi, ViReal64* Val);
ZPV4870_EXPORT ViStatus ZPV4870_PowerFactor(ViSession vi, ViReal64* Val);
ZPV4870_EXPORT ViStatus ZPV4870_ReactivePower(ViSession vi, ViReal64* Val);
ZPV4870_EXPORT ViStatus ZPV4870_Sequence(ViSession vi, ViReal64* Val);
ZPV4870_EXPORT ViStatus ZPV4870_State(ViSession vi, ViInt32 ValBufferSize, ViChar Val[]);
ZPV4870_EXPORT ViStatus ZPV4870_Voltage(ViSession vi, ViReal64* Val);
ZPV4870_EXPORT ViStatus ZPV4870_VoltageAC(ViSession vi, ViReal64* Val);
ZPV4870_EXPORT ViStatus ZPV4870_VoltageDC(ViSession vi, ViReal64* Val);

/* IZPV4870Result */
ZPV4870_EXPORT ViStatus ZPV4870_GetAll(ViSession vi, ViInt32 ValBufferSize, ViChar Val[]);
ZPV4870_EXPORT ViStatus ZPV4870_GetApparentPower(ViSession vi, ViReal64* Val);
ZPV4870_EXPORT ViStatus ZPV4870_GetCrestFactor(ViSession vi, ViReal64* Val);
ZPV4870_EXPORT ViStatus ZPV4870_GetCurrentAC(ViSession vi, ViReal64* Val);
ZPV4870_EXPORT ViStatus ZPV4870_GetCurrentDC(ViSession vi, ViReal64* Val);
ZPV4870_EXPORT ViStatus ZPV4870_GetCurrentPeak(ViSession vi, ViReal64* Val);
ZPV4870_EXPORT ViStatus ZPV4870_GetFrequency(ViSession vi, ViReal64* Val);
ZPV4870_EXPORT ViStatus ZPV4870_GetPower(ViSession vi, ViReal64* Val);
ZPV4870_EXPORT ViStatus ZPV4870_GetPowerFactor(ViSession vi, ViReal64* Val);
ZPV4870_EXPORT ViStatus ZPV4870_GetReactivePower(ViSession vi, ViReal64* Val);
ZPV4870_EXPORT ViStatus ZPV4870_GetVoltageAC(ViSession vi, ViReal64* Val);
ZPV4870_EXPORT ViStatus ZPV4870_GetVoltageDC(ViSession vi, ViReal64* Val);

/* IZPV4870OutputPhaseCurrentProtection */
ZPV4870_EXPORT ViStatus ZPV4870_Configure(ViSession vi, ViConstString channelName, ViBoolean Enabled,
                                          ViReal64 Threshold, ViReal64 Delay);
ZPV4870_EXPORT ViStatus ZPV4870_Reset2(ViSession vi, ViConstString channelName);

/* IZPV4870OutputPhaseDCGeneration */
ZPV4870_EXPORT ViStatus ZPV4870_Configure2(ViSession vi, ViConstString channelName, ViInt32 Mode,
                                           ViReal64 DCVoltageLevel);

/* IZPV4870OutputPhaseVoltageProtection */
ZPV4870_EXPORT ViStatus ZPV4870_Reset3(ViSession vi, ViConstString channelName);

/* IIviACPwrOutputPhases */
ZPV4870_EXPORT ViStatus ZPV4870_AbortFrequencyRamp(ViSession vi);
ZPV4870_EXPORT ViStatus ZPV4870_ConfigureFrequency(ViSession vi, ViReal64 Frequency);
ZPV4870_EXPORT ViStatus ZPV4870_ConfigureFrequencyRange(ViSession vi, ViReal64 FrequencyRange);
ZPV4870_EXPORT ViStatus ZPV4870_GetOutputPhaseName(ViSession vi, ViInt32 Index, ViInt32 NameBufferSize, ViChar Name[]);
ZPV4870_EXPORT ViStatus ZPV4870_InitiateMeasurement(ViSession vi, ViInt32 Group);
ZPV4870_EXPORT ViStatus ZPV4870_QueryFrequencyRampBusy(ViSession vi, ViBoolean* Busy);
ZPV4870_EXPORT ViStatus ZPV4870_QueryFrequencyRangeCapabilities(ViSession vi, ViInt32 Range, ViReal64* MinFrequency,
                                                                ViReal64* MaxFrequency);
ZPV4870_EXPORT ViStatus ZPV4870_RampFrequency(ViSession vi, ViReal64 Frequency, ViReal64 Rate);

/* IIviACPwrOutputPhase */
ZPV4870_EXPORT ViStatus ZPV4870_AbortCurrentRamp(ViSession vi, ViConstString channelName);
ZPV4870_EXPORT ViStatus ZPV4870_AbortVoltageRamp(ViSession vi, ViConstString channelName);
ZPV4870_EXPORT ViStatus ZPV4870_ConfigureCurrentLimit(ViSession vi, ViConstString channelName, ViReal64 CurrentLimit);
ZPV4870_EXPORT ViStatus ZPV4870_ConfigureOutputEnabled(ViSession vi, ViConstString channelName, ViBoolean Enabled);
ZPV4870_EXPORT ViStatus ZPV4870_ConfigurePhaseAngle(ViSession vi, ViConstString channelName, ViReal64 PhaseAngle);
ZPV4870_EXPORT ViStatus ZPV4870_ConfigureVoltageLevel(ViSession vi, ViConstString channelName, ViReal64 VoltageLevel);
ZPV4870_EXPORT ViStatus ZPV4870_ConfigureVoltageRange(ViSession vi, ViConstString channelName, ViReal64 VoltageRange);
ZPV4870_EXPORT ViStatus ZPV4870_ConfigureWaveform(ViSession vi, ViConstString channelName, ViConstString Waveform);
ZPV4870_EXPORT ViStatus ZPV4870_FetchMeasurement(ViSession vi, ViConstString channelName, ViInt32 MeasurementType,
                                                 ViReal64* Measurement);
ZPV4870_EXPORT ViStatus ZPV4870_FetchMeasurementArray(ViSession vi, ViConstString channelName, ViInt32 MeasurementType,
                                                      ViInt32 MeasurementArraySize, ViReal64 Measurement[],
                                                      ViInt32* MeasurementActualSize);
ZPV4870_EXPORT ViStatus ZPV4870_QueryCurrentRampBusy(ViSession vi, ViConstString channelName, ViBoolean* Busy);
ZPV4870_EXPORT ViStatus ZPV4870_QueryVoltageRampBusy(ViSession vi, ViConstString channelName, ViBoolean* Busy);
ZPV4870_EXPORT ViStatus ZPV4870_QueryVoltageRangeCapabilities(ViSession vi, ViConstString channelName, ViInt32 Range,
                                                              ViReal64* MaxVoltage, ViReal64* MinVoltage);
ZPV4870_EXPORT ViStatus ZPV4870_RampCurrent(ViSession vi, ViConstString channelName, ViReal64 Current, ViReal64 Rate);
ZPV4870_EXPORT ViStatus ZPV4870_RampVoltage(ViSession vi, ViConstString channelName, ViReal64 Voltage, ViReal64 Rate);

/* IIviACPwrCurrentProtection */
ZPV4870_EXPORT ViStatus ZPV4870_ConfigureCurrentProtection(ViSession vi, ViConstString channelName, ViBoolean Enabled,
                                                           ViReal64 Threshold, ViReal64 Delay);
ZPV4870_EXPORT ViStatus ZPV4870_QueryCurrentProtectionTripped(ViSession vi, ViConstString channelName,
                                                              ViBoolean* Tripped);
ZPV4870_EXPORT ViStatus ZPV4870_ResetCurrentProtection(ViSession vi, ViConstString channelName);

/* IIviACPwrVoltageProtection */
ZPV4870_EXPORT ViStatus ZPV4870_ConfigureVoltageProtection(ViSession vi, ViConstString channelName, ViReal64 OverLimit,
                                                           ViReal64 UnderLimit, ViBoolean OverEnabled,
                                                           ViBoolean UnderEnabled);
ZPV4870_EXPORT ViStatus ZPV4870_QueryVoltageProtectionTripped(ViSession vi, ViConstString channelName,
                                                              ViBoolean* Tripped);
ZPV4870_EXPORT ViStatus ZPV4870_ResetVoltageProtection(ViSession vi, ViConstString channelName);

/* IIviACPwrDCGeneration */
ZPV4870_EXPORT ViStatus ZPV4870_ConfigureDC(ViSession vi, ViConstString channelName, ViInt32 Mode,
                                            ViReal64 DCVoltageLevel);
ZPV4870_EXPORT ViStatus ZPV4870_ConfigureDCRange(ViSession vi, ViConstString channelName, ViReal64 Range);
ZPV4870_EXPORT ViStatus ZPV4870_QueryDCCapabilities(ViSession vi, ViConstString channelName, ViInt32 Range,
                                                    ViReal64* Maximum, ViReal64* Minimum);

/* IIviACPwrImpedance */
ZPV4870_EXPORT ViStatus ZPV4870_ConfigureOutputImpedance(ViSession vi, ViConstString channelName,
                                                         ViReal64 ResistiveValue, ViReal64 InductiveValue);
ZPV4870_EXPORT ViStatus ZPV4870_QueryOutputImpedanceCapabilities(ViSession vi, ViConstString channelName,
                                                                 ViReal64* ResistiveMin, ViReal64* ResistiveMax,
                                                                 ViReal64* InductiveMax, ViReal64* InductiveMin);

/* IIviACPwrExternalSync */
ZPV4870_EXPORT ViStatus ZPV4870_ConfigureExternalSync(ViSession vi, ViBoolean Enabled, ViReal64 PhaseOffset);
ZPV4870_EXPORT ViStatus ZPV4870_QueryExternalSyncLocked(ViSession vi, ViBoolean* Locked);

/* IIviACPwrArbWaveform */
ZPV4870_EXPORT ViStatus ZPV4870_ClearArbWaveform(ViSession vi, ViConstString WaveformName);
ZPV4870_EXPORT ViStatus ZPV4870_QueryArbWaveformCatalog(ViSession vi, ViInt32 CatalogType, ViInt32 CatalogBufferSize,
                                                        ViChar Catalog[]);
ZPV4870_EXPORT ViStatus ZPV4870_WriteArbWaveform(ViSession vi, ViConstString WaveformName, ViInt32 WaveformSize,
                                                 const ViReal64 Waveform[]);

#ifdef __cplusplus
}
#endif

#endif /* ZPV4870_C_INTERFACE_H */
