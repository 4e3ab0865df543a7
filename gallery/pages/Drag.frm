' Gallery page of the classic drag: controls with DragMode 1 dragged onto frames and the form, which take them in (Container) where they are dropped; a DragIcon; Drag 1 from code; the event log.
Begin Form PageDrag
   Caption         =   "Drag - 控件库画廊"
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
   Begin LabelW lblHint
      Caption         =   "按住左键拖动下面的控件，放到框架或窗体上：它就移到那里。Esc 或右键取消。"
      WordWrap        =   True
      Left            =   120
      Top             =   120
      Width           =   5880
      Height          =   480
   End
   Begin LabelW lblDrag
      Caption         =   "拖动我（轮廓）"
      BackColor       =   &H00C0FFFF&
      BorderStyle     =   1
      DragMode        =   1
      Left            =   120
      Top             =   720
      Width           =   1800
      Height          =   375
   End
   Begin LabelW lblIcon
      Caption         =   "拖动我（DragIcon）"
      BackColor       =   &H00FFE0C0&
      BorderStyle     =   1
      DragMode        =   1
      Left            =   120
      Top             =   1260
      Width           =   1800
      Height          =   375
   End
   Begin TextBoxW txtDrag
      Text            =   "文本框：点按钮后拖"
      Left            =   120
      Top             =   1800
      Width           =   1800
      Height          =   315
      TabIndex        =   0
   End
   Begin FrameW fraLeft
      Caption         =   "框架一"
      Left            =   2160
      Top             =   720
      Width           =   1860
      Height          =   2760
   End
   Begin FrameW fraRight
      Caption         =   "框架二"
      Left            =   4140
      Top             =   720
      Width           =   1860
      Height          =   2760
   End
   Begin LabelW lblSwitches
      Caption         =   "属性："
      Left            =   6240
      Top             =   150
      Width           =   3840
      Height          =   255
   End
   Begin CheckBox chkDragMode
      Caption         =   "DragMode 1（自动拖动）"
      Value           =   1
      Left            =   6240
      Top             =   480
      Width           =   3000
      Height          =   285
      TabIndex        =   1
   End
   Begin CheckBox chkDragIcon
      Caption         =   "lblIcon 的 DragIcon"
      Value           =   1
      Left            =   6240
      Top             =   810
      Width           =   3000
      Height          =   285
      TabIndex        =   2
   End
   Begin CommandButton cmdBeginDrag
      Caption         =   "txtDrag.Drag 1（单击放下）"
      Left            =   6240
      Top             =   1200
      Width           =   3000
      Height          =   345
      TabIndex        =   3
   End
   Begin CommandButton cmdHome
      Caption         =   "全部放回原处"
      Left            =   6240
      Top             =   1620
      Width           =   3000
      Height          =   345
      TabIndex        =   4
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
      TabIndex        =   6
   End
   Begin ListBoxW lstLog
      Left            =   120
      Top             =   4260
      Width           =   9960
      Height          =   2220
      TabIndex        =   5
   End
End
