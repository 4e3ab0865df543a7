' Gallery page of TextBoxW: four text boxes in their main modes, switches, the event log.
Begin Form PageTextBoxW
   Caption         =   "TextBoxW - 控件库画廊"
   BorderStyle     =   1
   MaxButton       =   False
   ClientWidth     =   10200
   ClientHeight    =   6600
   StartUpPosition =   0
   BeginProperty Font
      Name            =   "微软雅黑"
      Size            =   9
      Charset         =   134
      Weight          =   400
   EndProperty
   Begin LabelW lblSingle
      Caption         =   "单行，带提示文字："
      Left            =   120
      Top             =   150
      Width           =   1800
      Height          =   255
   End
   Begin TextBoxW txtSingle
      CueBanner       =   "在这里输入……"
      Left            =   1980
      Top             =   120
      Width           =   3900
      Height          =   315
      TabIndex        =   0
   End
   Begin LabelW lblPassword
      Caption         =   "密码："
      Left            =   120
      Top             =   570
      Width           =   1800
      Height          =   255
   End
   Begin TextBoxW txtPassword
      Text            =   "secret"
      PasswordChar    =   9679
      Left            =   1980
      Top             =   540
      Width           =   3900
      Height          =   315
      TabIndex        =   1
   End
   Begin LabelW lblNumbers
      Caption         =   "只接受数字："
      Left            =   120
      Top             =   990
      Width           =   1800
      Height          =   255
   End
   Begin TextBoxW txtNumbers
      Text            =   "2026"
      AllowOnlyNumbers =   True
      Left            =   1980
      Top             =   960
      Width           =   3900
      Height          =   315
      TabIndex        =   2
   End
   Begin LabelW lblMulti
      Caption         =   "多行，带滚动条："
      Left            =   120
      Top             =   1410
      Width           =   1800
      Height          =   255
   End
   Begin TextBoxW txtMulti
      MultiLine       =   True
      ScrollBars      =   3
      WantReturn      =   True
      Left            =   1980
      Top             =   1380
      Width           =   3900
      Height          =   2340
      TabIndex        =   3
   End
   Begin LabelW lblSwitches
      Caption         =   "属性（作用于左侧每个文本框）："
      Left            =   6240
      Top             =   150
      Width           =   3840
      Height          =   255
   End
   Begin CheckBox chkEnabled
      Caption         =   "Enabled"
      Value           =   1
      Left            =   6240
      Top             =   480
      Width           =   1800
      Height          =   285
      TabIndex        =   4
   End
   Begin CheckBox chkLocked
      Caption         =   "Locked"
      Left            =   6240
      Top             =   810
      Width           =   1800
      Height          =   285
      TabIndex        =   5
   End
   Begin CheckBox chkRightToLeft
      Caption         =   "RightToLeft"
      Left            =   6240
      Top             =   1140
      Width           =   1800
      Height          =   285
      TabIndex        =   6
   End
   Begin CheckBox chkVisualStyles
      Caption         =   "VisualStyles"
      Value           =   1
      Left            =   6240
      Top             =   1470
      Width           =   1800
      Height          =   285
      TabIndex        =   7
   End
   Begin CheckBox chkHideSelection
      Caption         =   "HideSelection"
      Value           =   1
      Left            =   6240
      Top             =   1800
      Width           =   1800
      Height          =   285
      TabIndex        =   8
   End
   Begin CheckBox chkAllowOverType
      Caption         =   "AllowOverType"
      Left            =   6240
      Top             =   2130
      Width           =   1800
      Height          =   285
      TabIndex        =   9
   End
   Begin CheckBox chkMouseTrack
      Caption         =   "MouseTrack"
      Left            =   6240
      Top             =   2460
      Width           =   1800
      Height          =   285
      TabIndex        =   10
   End
   Begin CommandButton cmdAlignment
      Left            =   8160
      Top             =   450
      Width           =   1920
      Height          =   345
      TabIndex        =   11
   End
   Begin CommandButton cmdBorderStyle
      Left            =   8160
      Top             =   870
      Width           =   1920
      Height          =   345
      TabIndex        =   12
   End
   Begin CommandButton cmdCharacterCasing
      Left            =   8160
      Top             =   1290
      Width           =   1920
      Height          =   345
      TabIndex        =   13
   End
   Begin CommandButton cmdBalloon
      Caption         =   "ShowBalloonTip"
      Left            =   8160
      Top             =   1710
      Width           =   1920
      Height          =   345
      TabIndex        =   14
   End
   Begin CommandButton cmdShowPropertiesSingle
      Caption         =   "属性… (单行)"
      Left            =   8160
      Top             =   2130
      Width           =   1920
      Height          =   345
      TabIndex        =   15
   End
   Begin CommandButton cmdShowPropertiesMulti
      Caption         =   "属性… (多行)"
      Left            =   8160
      Top             =   2550
      Width           =   1920
      Height          =   345
      TabIndex        =   16
   End
   Begin LabelW lblLog
      Caption         =   "事件日志："
      Left            =   120
      Top             =   3930
      Width           =   1800
      Height          =   255
   End
   Begin CommandButton cmdClearLog
      Caption         =   "清除日志"
      Left            =   8880
      Top             =   3870
      Width           =   1200
      Height          =   330
      TabIndex        =   18
   End
   Begin ListBoxW lstLog
      Left            =   120
      Top             =   4260
      Width           =   9960
      Height          =   2220
      TabIndex        =   17
   End
End
