// Resource ids of the settings pages and panels.
#pragma once

// Standard ids
#define IDOK                                1
#define IDCANCEL                            2
#define IDC_STATIC                          -1

// Dialog templates
#define IDD_MACHINE_INFO_PAGE               106
#define IDD_MACHINE_PAGE                    130
#define IDD_PHONE_LINE_PAGE                 131
#define IDD_ADVANCED_PAGE                   132
#define IDD_FAX_SEND_PAGE                   155
#define IDD_FAX_RECEIVE_PAGE                156
#define IDD_TCPIP_PAGE                      157
#define IDD_SNMP_PAGE                       158
#define IDD_REPORTS_PANEL                   161
#define IDD_PC_FAX_PANEL                    211
#define IDD_IPX_SPX_PAGE                    215
#define IDD_LAN_FAX_PAGE                    217
#define IDD_EMAIL_PAGE                      218
#define IDD_FTP_PAGE                        220
#define IDD_MAIL_OPTIONS_PANEL              221
#define IDD_SECURE_FAX_PASSWORD             227

// Shared by every settings page and panel that has a defaults button
#define IDC_DEFAULTS                        1241

// Machine settings page
#define IDC_COMPANY_NAME                    1056
#define IDC_ALARM_VOLUME                    1139
#define IDC_RESOLUTION                      1150
#define IDC_CONTRAST                        1151
#define IDC_ACTIVITY_REPORT_KEY             1152
#define IDC_RINGER_VOLUME                   1155
#define IDC_LINE_VOLUME                     1158
#define IDC_SUPER_SAVER_MODE                1159
#define IDC_KEY_VOLUME                      1169
#define IDC_POWER_SAVER                     1184
#define IDC_ASK_ACCOUNT_CODE                1228
#define IDC_FAX_SEPARATOR                   1313
#define IDC_SAVER_SPIN                      1318
#define IDC_SUPER_SAVER_MINUTES             1320
#define IDC_COLLATE_COPIES                  1370
#define IDC_TRAY1_PAPER_SIZE                1392
#define IDC_TRAY2_PAPER_SIZE                1394

// Phone line page; the start and stop pickers and labels also serve the fax receive page
#define IDC_START_TIME                      1001
#define IDC_STOP_TIME                       1002
#define IDC_LINE_SELECTOR                   1119
#define IDC_COUNTRY                         1136
#define IDC_ANSWER_MODE                     1167
#define IDC_RINGS_BEFORE_ANSWER             1168
#define IDC_LINE_USE                        1170
#define IDC_DIAL_MODE                       1173
#define IDC_LINE1_NUMBER                    1181
#define IDC_ADD_COUNTRY_CODE                1182
#define IDC_RINGS_SPIN                      1192
#define IDC_TAD_TIMER_SPIN                  1197
#define IDC_ECM                             1200
#define IDC_NUMBER_LABEL                    1229
#define IDC_START_LABEL                     1232
#define IDC_STOP_LABEL                      1233
#define IDC_ANSWER_MODE_LABEL               1272
#define IDC_LINE_USE_LABEL                  1273
#define IDC_TAD_TIMER                       1369
#define IDC_RINGS_LABEL_TO_10               1390
#define IDC_RINGS_LABEL_TO_15               1391

// Advanced features page
#define IDC_TONER_QUANTITY_SPIN             1283
#define IDC_DRUM_QUANTITY_SPIN              1284
#define IDC_REMOTE_ACCESS_PASSWORD          1298
#define IDC_ORDER_FAX_NUMBER                1300
#define IDC_ORDER_EMAIL_ADDRESS             1301
#define IDC_ORDER_SPEED_DIAL                1302
#define IDC_TONER_PART_NUMBER               1303
#define IDC_DRUM_PART_NUMBER                1304
#define IDC_CUSTOMER_NUMBER                 1305
#define IDC_ORDER_ONE_TOUCH                 1306
#define IDC_CONTACT_NAME                    1307
#define IDC_ORDER_DESTINATION_TYPE          1308
#define IDC_CONTACT_PHONE                   1310
#define IDC_RECIPIENT                       1311
#define IDC_ADDRESS                         1312
#define IDC_REMOTE_ACCESS                   1324
#define IDC_DOWNLOAD_MODE                   1325
#define IDC_AUTO_SUPPLY_ORDER               1329
#define IDC_CHOOSE_ORDER_ENTRY              1334
#define IDC_STORED_JOBS_WARNING             1339
#define IDC_ORDER_TONER                     1373
#define IDC_TONER_QUANTITY                  1374
#define IDC_ORDER_DRUM                      1375
#define IDC_DRUM_QUANTITY                   1376

// Fax send page
#define IDC_RESEND_STORE_HOURS              1015
#define IDC_DEFAULT_COVER_PAGE              1035
#define IDC_ALWAYS_SEND_FROM_MEMORY         1036
#define IDC_SEND_HEADER                     1037
#define IDC_SECURE_SEND                     1038
#define IDC_STORE_FOR_RESEND                1077
#define IDC_REDIAL_INTERVAL                 1078
#define IDC_REDIAL_ATTEMPTS                 1080
#define IDC_SEND_HEADER_POSITION            1177
#define IDC_LONG_ORIGINAL                   1178
#define IDC_RESEND_HOURS_LABEL              1279
#define IDC_REDIAL_ATTEMPTS_SPIN            1283
#define IDC_REDIAL_INTERVAL_SPIN            1284
#define IDC_RESEND_HOURS_SPIN               1285
#define IDC_DIAL_TIMING                     1330
#define IDC_LINE_MONITOR                    1331

// Fax receive page and its password dialog
#define IDC_MONDAY                          1018
#define IDC_TUESDAY                         1019
#define IDC_WEDNESDAY                       1020
#define IDC_THURSDAY                        1021
#define IDC_FRIDAY                          1022
#define IDC_SATURDAY                        1023
#define IDC_SUNDAY                          1024
#define IDC_SECURE_RECEIVE                  1036
#define IDC_DO_NOT_RECEIVE                  1144
#define IDC_RECEIVE_TO_MEMORY               1145
#define IDC_PRINT_OVERFLOW_ON_NEXT_PAGE     1204
#define IDC_PRINT_RECEIVE_FOOTER            1205
#define IDC_COLLATE_FAXES                   1206
#define IDC_DIRECTORY_NUMBERS_ONLY          1207
#define IDC_REDUCE_TO_FIT                   1208
#define IDC_ALL_DAY_GROUP                   1230
#define IDC_SECURITY_GROUP                  1231
#define IDC_NO_PRINTING_GROUP               1261
#define IDC_RECEIVE_INTERVAL_SPIN           1284
#define IDC_SECURE_PASSWORD_BUTTON          1298
#define IDC_SECURE_PASSWORD                 1298
#define IDC_RECEIVE_INTERVAL                1331

// Reports panel
#define IDC_BROADCAST_FIRST_PAGE            1042
#define IDC_MEMORY_SEND_FIRST_PAGE          1043
#define IDC_POLLING_REPORT                  1147
#define IDC_ACTIVITY_REPORT_AUTO            1188
#define IDC_CONFIRMATION_REPORT             1189
#define IDC_BROADCAST_REPORT                1194
#define IDC_MEMORY_SEND_REPORT              1195
#define IDC_MAILBOX_REPORT_LOCAL            1261
#define IDC_MAILBOX_REPORT_REMOTE           1262

// PC fax panel
#define IDC_PC_RECEIVE_ATTEMPTS_SPIN        1283
#define IDC_PC_RETRY_INTERVAL_SPIN          1284
#define IDC_PC_RECEIVE_MODE                 1340
#define IDC_AFTER_ATTEMPTS                  1341
#define IDC_PC_RECEIVE_ATTEMPTS             1343
#define IDC_PC_RETRY_INTERVAL               1344

// Mail-option panel
#define IDC_BODY_TEXT_LIMIT_SPIN            1283
#define IDC_PRINT_BODY_TEXT                 1361
#define IDC_BODY_TEXT_LIMIT                 1362
#define IDC_SEND_REQUEST                    1363
#define IDC_DELIVERY_CONFIRMATION_REQUEST   1364
#define IDC_PRINT_MAIL_HEADER               1365
#define IDC_PRINT_ERROR_MESSAGE_BODY        1366
#define IDC_PRINT_DELIVERY_CONFIRMATION     1367
#define IDC_PRINT_SEND_REQUEST_REPLY        1368
#define IDC_CONFIRMATION_TIMER              1369

// TCP/IP page
#define IDC_SUBNET_MASK                     1014
#define IDC_DEFAULT_GATEWAY                 1016
#define IDC_BROADCAST_INTERVAL              1251
#define IDC_DISCONNECT_AFTER                1252
#define IDC_BROADCAST_INTERVAL_SPIN         1283
#define IDC_DISCONNECT_AFTER_SPIN           1284
#define IDC_DHCP                            1350
#define IDC_IP_ADDRESS                      1351

// E-mail, FTP, LAN fax server and IPX/SPX pages
#define IDC_LAN_FAX_SERVER_ADDRESS          1010
#define IDC_SMTP_GATEWAY                    1016
#define IDC_POP_PASSWORD                    1298
#define IDC_FTP_PASSWORD                    1298
#define IDC_FRAME_TYPE                      1349
#define IDC_MACHINE_EMAIL_ADDRESS           1352
#define IDC_ERROR_FORWARD_ADDRESS           1353
#define IDC_RECEIVE_MODE                    1354
#define IDC_POP_CHECK_INTERVAL              1355
#define IDC_POP_USER_NAME                   1356
#define IDC_FTP_USER_NAME                   1356
#define IDC_SMTP_SERVER_ADDRESS             1357
#define IDC_POP_SERVER_ADDRESS              1359

// SNMP page
#define IDC_TRAP_ONLINE                     1008
#define IDC_TRAP_INCIDENT                   1009
#define IDC_TRAP_TONER_OUT                  1011
#define IDC_TRAP_COVER_OPEN                 1012
#define IDC_TRAP_NETWORK_ERROR              1013
#define IDC_TRAP_PRINTING                   1014
#define IDC_TRAP_OUTPUT_TRAY_FULL           1015
#define IDC_TRAP_SERVICE_REQUEST            1017
#define IDC_READ_COMMUNITY                  1018
#define IDC_READ_WRITE_COMMUNITY            1019
#define IDC_TRAP_MEMORY_FULL                1020
#define IDC_TRAP_MEDIA_SIZE_MISMATCH        1021
#define IDC_TRAP_MEDIA_LOW                  1022
#define IDC_TRAP_MEDIA_OUT                  1023
#define IDC_TRAP_OFFLINE                    1254
#define IDC_TRAP_TONER_LOW                  1255

// Machine information page
#define IDC_MODEL_NAME                      1242
#define IDC_TRAY_OPTIONS                    1243
#define IDC_FIRMWARE_VERSION                1245
#define IDC_LANGUAGE_CODE                   1247
#define IDC_MEMORY_SIZE                     1248
#define IDC_SCAN_COUNT                      1250
#define IDC_PRINT_COUNT                     1251
#define IDC_DRUM_COUNT                      1253
#define IDC_DOCUMENT_JAMS                   1254
#define IDC_PRINT_JAMS                      1255

// Strings
#define IDS_ONE_TOUCH                       61219
#define IDS_PC_FAX                          61235
#define IDS_MAIL_OPTIONS                    61236
#define IDS_FAX_NUMBER                      61239
#define IDS_EMAIL_ADDRESS                   61240
#define IDS_SPEED_DIAL                      61241

// Message-box texts
#define IDP_SECURE_RECEIVE_NOTICE           61234
#define IDP_FOUR_DIGIT_PASSWORD             61237
#define IDP_SECURE_SEND_NOTICE              61245
#define IDP_ACCOUNT_CODE_NOTICE             61246
#define IDP_ORDER_DESTINATION_REQUIRED      61270
